#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/text/WideText.h"
#include "platform/Paths.h"

namespace cursorial {

namespace {

constexpr std::string_view kActivate = "ACTIVATE";

// Longest application name used as it is in the names of the folder and the files; a longer
// one is replaced by its hash, so that "<name>.socket" and "<name>-<uid>" stay well inside a
// file name's 255 bytes.
constexpr size_t kMaxPlainName = 200;

std::string HashName(std::string_view name) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : name)
        hash = (hash ^ c) * 1099511628211ull;
    return Format("%016llx", static_cast<unsigned long long>(hash));
}

// The application name as it appears in the guard's file and folder names.
std::string GuardName(std::u16string_view app_name) {
    std::string name = AppFileName(app_name);
    return name.size() <= kMaxPlainName ? name : HashName(name);
}

// A real folder (not a link to one) of this user that nobody else may read, write or enter:
// anyone who can create files in it could pose as the first instance or hold the lock.
bool IsPrivateFolder(const std::filesystem::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & 077) == 0;
}

// Builds the socket address; false when the path does not fit in sun_path.
bool MakeAddress(const std::filesystem::path& path, sockaddr_un* address) {
    const std::string& text = path.native();
    *address = {};
    address->sun_family = AF_UNIX;
    if (text.empty() || text.size() >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, text.data(), text.size());
    return true;
}

// "<name>.socket" in the folder, or a hashed name when the full path would not fit in a socket
// address; empty when not even that fits.
std::filesystem::path SocketPathFor(const std::filesystem::path& folder, const std::string& name) {
    sockaddr_un probe{};
    auto path = folder / (name + ".socket");
    if (path.native().size() < sizeof probe.sun_path)
        return path;
    path = folder / (HashName(name) + ".socket");
    if (path.native().size() < sizeof probe.sun_path)
        return path;
    return {};
}

bool SendRequest(const std::filesystem::path& socket_path, std::string_view token) {
    sockaddr_un address{};
    if (!MakeAddress(socket_path, &address))
        return false;
    UniqueFd fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd.IsValid())
        return false;
    const std::string request = FormatActivationRequest(token);
    // No waiting: a first instance whose queue is full is not taking requests anyway.
    ssize_t sent;
    do {
        sent = ::sendto(fd.Get(), request.data(), request.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                        reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(request.size());
}

}  // namespace

std::string FormatActivationRequest(std::string_view activation_token) {
    std::string request(kActivate);
    const bool fits =
        activation_token.size() + kActivate.size() + 2 <= SingleInstance::kMaxRequestBytes;
    if (!activation_token.empty() && fits &&
        activation_token.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos) {
        request += ' ';
        request += activation_token;
    }
    request += '\n';
    return request;
}

std::optional<ActivationRequest> ParseActivationRequest(std::string_view datagram) {
    if (!datagram.starts_with(kActivate))
        return std::nullopt;
    datagram.remove_prefix(kActivate.size());
    if (datagram.ends_with('\n'))
        datagram.remove_suffix(1);
    if (datagram.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        return std::nullopt;
    }
    ActivationRequest request;
    if (datagram.empty())
        return request;
    if (datagram.front() != ' ')
        return std::nullopt;
    request.activation_token = std::string(datagram.substr(1));
    return request;
}

std::filesystem::path SingleInstance::RuntimeFolder(std::u16string_view app_name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        // The user's own setting may lead through a link; what it leads to must be private.
        std::error_code error;
        const auto folder = std::filesystem::canonical(runtime, error);
        if (!error && IsPrivateFolder(folder))
            return folder;
    }
    const std::filesystem::path folder =
        std::filesystem::path("/tmp") / Format("%s-%u", GuardName(app_name).c_str(), getuid());
    ::mkdir(folder.c_str(), 0700);
    if (!IsPrivateFolder(folder))
        return {};
    return folder;
}

SingleInstance SingleInstance::Start(std::u16string_view app_name) {
    const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
    return Start(app_name, RuntimeFolder(app_name), token != nullptr ? token : "");
}

SingleInstance SingleInstance::Start(std::u16string_view app_name,
                                     const std::filesystem::path& runtime_folder,
                                     std::string_view activation_token) {
    SingleInstance instance;
    instance.outcome_ = Outcome::kNoGuard;
    if (runtime_folder.empty()) {
        instance.problem_ = "no private runtime folder (XDG_RUNTIME_DIR or /tmp/<name>-<uid>)";
        return instance;
    }
    if (!IsPrivateFolder(runtime_folder)) {
        instance.problem_ = runtime_folder.native() + " is not a folder private to this user";
        return instance;
    }
    const std::string name = GuardName(app_name);
    const auto lock_path = runtime_folder / (name + ".lock");
    const auto socket_path = SocketPathFor(runtime_folder, name);

    UniqueFd lock(::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.IsValid()) {
        instance.problem_ = lock_path.native() + ": " + std::strerror(errno);
        return instance;
    }
    int locked;
    do {
        locked = ::flock(lock.Get(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (errno == EWOULDBLOCK) {
            instance.outcome_ = SendRequest(socket_path, activation_token) ? Outcome::kActivated
                                                                           : Outcome::kNotReachable;
        } else {
            instance.problem_ = lock_path.native() + ": " + std::strerror(errno);
        }
        return instance;
    }
    instance.outcome_ = Outcome::kFirstInstance;
    instance.lock_ = std::move(lock);
    instance.Listen(socket_path);
    return instance;
}

// Called with the lock held, so a socket file already at the path belongs to nobody alive.
void SingleInstance::Listen(const std::filesystem::path& socket_path) {
    sockaddr_un address{};
    if (!MakeAddress(socket_path, &address))
        return;
    UniqueFd fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.IsValid())
        return;
    // Before bind, so that every datagram that can arrive carries its sender's credentials.
    const int on = 1;
    if (::setsockopt(fd.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0)
        return;
    const auto* raw = reinterpret_cast<const sockaddr*>(&address);
    if (::bind(fd.Get(), raw, sizeof address) != 0) {
        struct stat st {};
        if (errno != EADDRINUSE || ::lstat(socket_path.c_str(), &st) != 0 ||
            !S_ISSOCK(st.st_mode) || ::unlink(socket_path.c_str()) != 0 ||
            ::bind(fd.Get(), raw, sizeof address) != 0) {
            return;
        }
    }
    ::chmod(socket_path.c_str(), 0600);
    struct stat st {};
    if (::lstat(socket_path.c_str(), &st) != 0)
        return;
    socket_device_ = st.st_dev;
    socket_inode_ = st.st_ino;
    socket_path_ = socket_path;
    socket_ = std::move(fd);
}

SingleInstance::~SingleInstance() {
    if (!socket_.IsValid())
        return;
    struct stat st {};
    if (::lstat(socket_path_.c_str(), &st) == 0 && st.st_dev == socket_device_ &&
        st.st_ino == socket_inode_) {
        ::unlink(socket_path_.c_str());
    }
}

std::optional<ActivationRequest> SingleInstance::ReadRequest() {
    if (!socket_.IsValid())
        return std::nullopt;
    for (;;) {
        char buffer[kMaxRequestBytes];
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
        iovec io{buffer, sizeof buffer};
        msghdr message{};
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t n = ::recvmsg(socket_.Get(), &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;  // EAGAIN: nothing waiting
        }
        if ((message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) != 0)
            continue;
        bool same_user = false;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS &&
                c->cmsg_len == CMSG_LEN(sizeof(ucred))) {
                ucred credentials{};
                std::memcpy(&credentials, CMSG_DATA(c), sizeof credentials);
                same_user = credentials.uid == getuid();
            }
        }
        if (!same_user)
            continue;
        if (auto request =
                ParseActivationRequest(std::string_view(buffer, static_cast<size_t>(n)))) {
            return request;
        }
    }
}

}  // namespace cursorial
