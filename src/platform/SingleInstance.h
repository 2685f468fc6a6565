// SingleInstance: one running program per user and application name.
//
// The first process takes an exclusive flock on "<app>.lock" in the runtime folder and binds a
// Unix datagram socket at "<app>.socket" beside it. A later process finds the lock taken, sends
// one activation request to that socket and ends. The lock belongs to an open file description
// (O_CLOEXEC, so started programs do not inherit it): when the first process dies, however it
// dies, the lock is gone with it. A socket file left behind by a dead process is replaced.
//
// Activation request, one datagram of at most kMaxRequestBytes bytes:
//
//     "ACTIVATE\n"               no activation token
//     "ACTIVATE <token>\n"       <token> = the second process's XDG_ACTIVATION_TOKEN
//
// Datagrams are read whole or not at all, so the receiving side never waits for the rest of a
// request; anything else that arrives is dropped. Only requests from the same user are taken.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "platform/UniqueFd.h"

namespace cursorial {

struct ActivationRequest {
    std::string activation_token;  // empty when the requester had none
};

class SingleInstance {
public:
    enum class Outcome {
        kFirstInstance,  // this process runs the program
        kActivated,      // another process runs it and was sent an activation request
        kNotReachable,   // another process holds the lock but took no request
        kNoGuard,        // no lock could be had (Problem() says why): nothing would keep a
                         // second copy out, so the caller must not run as if it were the only one
    };

    static constexpr size_t kMaxRequestBytes = 4096;

    // The folder for the lock and the socket: $XDG_RUNTIME_DIR when it is an absolute path to a
    // folder of ours that nobody else may enter (mode and owner checked), else /tmp/<app>-<uid>,
    // created with mode 0700 and used only when it is a real folder of ours that nobody else may
    // enter. Empty when there is no usable folder. An application name longer than 200 bytes
    // is replaced by 16 hex digits of its hash here and in the names of the files.
    static std::filesystem::path RuntimeFolder(std::u16string_view app_name);

    // Claims the instance for app_name in RuntimeFolder(), forwarding XDG_ACTIVATION_TOKEN.
    static SingleInstance Start(std::u16string_view app_name);
    // The same with the folder and the token given. A folder that is missing, not private to
    // this user or cannot hold the lock gives kNoGuard.
    static SingleInstance Start(std::u16string_view app_name,
                                const std::filesystem::path& runtime_folder,
                                std::string_view activation_token);

    SingleInstance(SingleInstance&&) noexcept = default;
    SingleInstance& operator=(SingleInstance&&) noexcept = default;
    // Removes the socket file when it is still ours, then lets go of the lock.
    ~SingleInstance();

    Outcome GetOutcome() const { return outcome_; }
    // Why there is no guard (kNoGuard); empty otherwise.
    const std::string& Problem() const { return problem_; }
    // The socket to watch for readability; -1 when this process does not listen.
    int ListenFd() const { return socket_.Get(); }
    const std::filesystem::path& SocketPath() const { return socket_path_; }
    // The next activation request waiting on the socket, without blocking; nothing when none
    // is waiting. Call it until it gives nothing each time the socket turns readable.
    std::optional<ActivationRequest> ReadRequest();

private:
    SingleInstance() = default;
    void Listen(const std::filesystem::path& socket_path);

    Outcome outcome_ = Outcome::kFirstInstance;
    std::string problem_;
    UniqueFd lock_;
    UniqueFd socket_;
    std::filesystem::path socket_path_;
    dev_t socket_device_ = 0;
    ino_t socket_inode_ = 0;
};

// The request datagram for a token; a token that cannot travel in one line is left out.
std::string FormatActivationRequest(std::string_view activation_token);
// The request in a datagram; nothing when it is not one.
std::optional<ActivationRequest> ParseActivationRequest(std::string_view datagram);

}  // namespace cursorial
