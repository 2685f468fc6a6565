#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestFolders.h"

extern char** environ;

namespace cursorial {
namespace {

using testing::ScopedEnv;
using testing::ScratchFolder;
using Outcome = SingleInstance::Outcome;

constexpr char16_t kApp[] = u"Cursorial";

// The probe program (SingleInstanceProbe.cpp) as a second process with its own environment.
class Probe {
public:
    Probe(const std::filesystem::path& runtime_folder, const char* token, bool hold) {
        int out[2];
        int in[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);

        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string_view entry(*e);
            if (!entry.starts_with("XDG_RUNTIME_DIR=") &&
                !entry.starts_with("XDG_ACTIVATION_TOKEN=")) {
                env.emplace_back(entry);
            }
        }
        env.push_back("XDG_RUNTIME_DIR=" + runtime_folder.native());
        if (token != nullptr)
            env.push_back(std::string("XDG_ACTIVATION_TOKEN=") + token);
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = CURSORIAL_PROBE_PATH;
        std::string app = "Cursorial";
        std::string mode = hold ? "hold" : "once";
        char* argv[] = {program.data(), app.data(), mode.data(), nullptr};
        EXPECT_EQ(::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(in[0]);
        stdout_ = out[0];
        stdin_ = in[1];
    }
    ~Probe() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        ::close(stdout_);
        if (stdin_ >= 0)
            ::close(stdin_);
    }

    std::string Line() {
        std::string line;
        char c;
        while (::read(stdout_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    int Wait() {
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_)
            pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Kill() {
        ::kill(pid_, SIGKILL);
        Wait();
    }

private:
    pid_t pid_ = 0;
    int stdout_ = -1;
    int stdin_ = -1;
};

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1;
}

TEST(SingleInstanceTest, RequestsTravelAsOneLine) {
    EXPECT_EQ(FormatActivationRequest(""), "ACTIVATE\n");
    EXPECT_EQ(FormatActivationRequest("abc_1 2"), "ACTIVATE abc_1 2\n");
    EXPECT_EQ(FormatActivationRequest("bad\ntoken"), "ACTIVATE\n");
    EXPECT_EQ(FormatActivationRequest(std::string(5000, 't')), "ACTIVATE\n");

    const struct {
        std::string_view datagram;
        bool valid;
        std::string_view token;
    } cases[] = {
        {"", false, ""},
        {"HELLO\n", false, ""},
        {"ACTIVATEX\n", false, ""},
        {"ACTIVATE tok\nmore\n", false, ""},
        {"ACTIVATE\n", true, ""},
        {"ACTIVATE", true, ""},
        {"ACTIVATE tok-1\n", true, "tok-1"},
        {"ACTIVATE a b\n", true, "a b"},
    };
    for (const auto& c : cases) {
        const auto request = ParseActivationRequest(c.datagram);
        ASSERT_EQ(request.has_value(), c.valid) << c.datagram;
        if (request) {
            EXPECT_EQ(request->activation_token, c.token) << c.datagram;
        }
    }
}

TEST(SingleInstanceTest, ASecondProcessActivatesTheFirstWithItsToken) {
    ScratchFolder run;
    SingleInstance first = SingleInstance::Start(kApp, run.Path(), "");
    ASSERT_EQ(first.GetOutcome(), Outcome::kFirstInstance);
    ASSERT_GE(first.ListenFd(), 0);
    EXPECT_EQ(first.SocketPath(), run / "Cursorial.socket");
    EXPECT_FALSE(first.ReadRequest());

    {
        Probe second(run.Path(), "tok-123", false);
        EXPECT_EQ(second.Line(), "activated");
        EXPECT_EQ(second.Wait(), 10);
    }
    {
        Probe third(run.Path(), nullptr, false);
        EXPECT_EQ(third.Line(), "activated");
        EXPECT_EQ(third.Wait(), 10);
    }
    EXPECT_TRUE(Readable(first.ListenFd()));
    auto request = first.ReadRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->activation_token, "tok-123");
    request = first.ReadRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->activation_token, "");
    EXPECT_FALSE(first.ReadRequest());
    EXPECT_FALSE(Readable(first.ListenFd()));
}

TEST(SingleInstanceTest, AKilledFirstInstanceLeavesNoStaleLockOrSocket) {
    ScratchFolder run;
    Probe holder(run.Path(), nullptr, true);
    ASSERT_EQ(holder.Line(), "first");
    {
        const SingleInstance second = SingleInstance::Start(kApp, run.Path(), "x");
        EXPECT_EQ(second.GetOutcome(), Outcome::kActivated);
        EXPECT_LT(second.ListenFd(), 0);
    }
    holder.Kill();
    ASSERT_TRUE(std::filesystem::is_socket(run / "Cursorial.socket"));  // left behind

    SingleInstance next = SingleInstance::Start(kApp, run.Path(), "");
    ASSERT_EQ(next.GetOutcome(), Outcome::kFirstInstance);
    ASSERT_GE(next.ListenFd(), 0);
    Probe asker(run.Path(), "after-crash", false);
    EXPECT_EQ(asker.Line(), "activated");
    EXPECT_EQ(asker.Wait(), 10);
    const auto request = next.ReadRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->activation_token, "after-crash");
}

TEST(SingleInstanceTest, ALockWithoutListenerIsNotReachable) {
    ScratchFolder run;
    const SingleInstance first = SingleInstance::Start(kApp, run.Path(), "");
    ASSERT_GE(first.ListenFd(), 0);
    ASSERT_EQ(::unlink(first.SocketPath().c_str()), 0);
    EXPECT_EQ(SingleInstance::Start(kApp, run.Path(), "").GetOutcome(), Outcome::kNotReachable);
}

TEST(SingleInstanceTest, OtherDatagramsAreDroppedAndTheSocketGoesAtTheEnd) {
    ScratchFolder run;
    std::filesystem::path socket_path;
    {
        SingleInstance first = SingleInstance::Start(kApp, run.Path(), "");
        socket_path = first.SocketPath();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, socket_path.c_str());
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
        for (std::string_view d : {"HELLO\n", "ACTIVATE\nACTIVATE\n", "ACTIVATE last\n"}) {
            ASSERT_EQ(::sendto(fd, d.data(), d.size(), 0,
                               reinterpret_cast<const sockaddr*>(&address), sizeof address),
                      static_cast<ssize_t>(d.size()));
        }
        ::close(fd);
        const auto request = first.ReadRequest();
        ASSERT_TRUE(request);
        EXPECT_EQ(request->activation_token, "last");
        EXPECT_FALSE(first.ReadRequest());
    }
    EXPECT_FALSE(std::filesystem::exists(socket_path));
    EXPECT_TRUE(std::filesystem::exists(run / "Cursorial.lock"));
    EXPECT_EQ(SingleInstance::Start(kApp, run.Path(), "").GetOutcome(), Outcome::kFirstInstance);
}

TEST(SingleInstanceTest, WithoutRuntimeDirAPrivateFolderInTmpIsUsed) {
    ScopedEnv no_runtime("XDG_RUNTIME_DIR", nullptr);
    const std::string name = "cursorial-test-" + std::to_string(::getpid());
    const std::filesystem::path expected = "/tmp/" + name + "-" + std::to_string(::getuid());
    const std::u16string app(name.begin(), name.end());

    ASSERT_EQ(SingleInstance::RuntimeFolder(app), expected);
    struct stat st {};
    ASSERT_EQ(::stat(expected.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    {
        const SingleInstance first = SingleInstance::Start(app);
        EXPECT_EQ(first.GetOutcome(), Outcome::kFirstInstance);
        EXPECT_EQ(first.SocketPath(), expected / (name + ".socket"));
    }

    // A folder others may enter is not trusted, and nothing else would keep a second copy out:
    // the caller is told instead of being left to run as if it were the only one.
    ::chmod(expected.c_str(), 0755);
    EXPECT_EQ(SingleInstance::RuntimeFolder(app), std::filesystem::path());
    const SingleInstance unguarded = SingleInstance::Start(app);
    EXPECT_EQ(unguarded.GetOutcome(), Outcome::kNoGuard);
    EXPECT_FALSE(unguarded.Problem().empty());
    EXPECT_LT(unguarded.ListenFd(), 0);
    std::filesystem::remove_all(expected);
}

TEST(SingleInstanceTest, OnlyFoldersPrivateToTheUserHoldTheGuard) {
    ScratchFolder scratch;
    const struct {
        const char* what;
        mode_t mode;
        uid_t owner;  // 0: ours
        bool link;    // given as a link to the folder
    } cases[] = {
        {"private", 0700, 0, false},
        {"group may enter", 0710, 0, false},
        {"others may read", 0704, 0, false},
        {"world-writable", 0777, 0, false},
        {"someone else's", 0700, 65534, false},
        {"a link", 0700, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.owner != 0 && ::getuid() != 0)
            continue;  // only root can give a folder away
        const auto folder = scratch / c.what;
        std::filesystem::create_directory(folder);
        ::chmod(folder.c_str(), c.mode);
        if (c.owner != 0) {
            ASSERT_EQ(::chown(folder.c_str(), c.owner, static_cast<gid_t>(-1)), 0);
        }
        auto given = folder;
        if (c.link) {
            given = scratch / (std::string(c.what) + " link");
            std::filesystem::create_directory_symlink(folder, given);
        }
        const bool usable = c.mode == 0700 && c.owner == 0 && !c.link;

        const SingleInstance first = SingleInstance::Start(kApp, given, "");
        EXPECT_EQ(first.GetOutcome(), usable ? Outcome::kFirstInstance : Outcome::kNoGuard);
        EXPECT_EQ(first.ListenFd() >= 0, usable);
        EXPECT_EQ(std::filesystem::exists(folder / "Cursorial.lock"), usable);

        // As XDG_RUNTIME_DIR the user's own link is followed, and a folder that is not private
        // gives way to the one in /tmp.
        const ScopedEnv runtime("XDG_RUNTIME_DIR", given.c_str());
        const auto chosen = SingleInstance::RuntimeFolder(kApp);
        if (usable || c.link) {
            EXPECT_EQ(chosen, std::filesystem::canonical(folder));
        } else {
            EXPECT_EQ(chosen.parent_path(), "/tmp");
        }
    }
}

TEST(SingleInstanceTest, LongApplicationNamesAreHashedIntoTheFileNames) {
    ScratchFolder run;
    const std::u16string long_name(300, u'n');  // longer than a file name may be
    SingleInstance first = SingleInstance::Start(long_name, run.Path(), "");
    ASSERT_EQ(first.GetOutcome(), Outcome::kFirstInstance) << first.Problem();
    ASSERT_GE(first.ListenFd(), 0);
    EXPECT_EQ(first.SocketPath().stem().native().size(), 16u);
    EXPECT_EQ(SingleInstance::Start(long_name, run.Path(), "t").GetOutcome(), Outcome::kActivated);
    EXPECT_EQ(first.ReadRequest()->activation_token, "t");
    // One character less is another application.
    const std::u16string other(299, u'n');
    EXPECT_EQ(SingleInstance::Start(other, run.Path(), "").GetOutcome(), Outcome::kFirstInstance);

    ScopedEnv no_runtime("XDG_RUNTIME_DIR", nullptr);
    const auto folder = SingleInstance::RuntimeFolder(long_name);
    ASSERT_FALSE(folder.empty());
    EXPECT_LT(folder.filename().native().size(), 40u);
    std::filesystem::remove_all(folder);
}

TEST(SingleInstanceTest, LongFolderNamesStillGetASocket) {
    ScratchFolder run;
    // Room for "/<16 hex digits>.socket" but not for "/<40 letters>.socket".
    const size_t limit = sizeof(sockaddr_un{}.sun_path);
    ASSERT_LT(run.Path().native().size() + 26, limit);
    const auto deep = run / std::string(limit - 26 - run.Path().native().size(), 'd');
    std::filesystem::create_directories(deep);
    ::chmod(deep.c_str(), 0700);
    const std::u16string long_name(40, u'n');
    SingleInstance first = SingleInstance::Start(long_name, deep, "");
    ASSERT_GE(first.ListenFd(), 0);
    EXPECT_LT(first.SocketPath().native().size(), sizeof(sockaddr_un{}.sun_path));
    EXPECT_EQ(SingleInstance::Start(long_name, deep, "t").GetOutcome(), Outcome::kActivated);
    EXPECT_EQ(first.ReadRequest()->activation_token, "t");
}

}  // namespace
}  // namespace cursorial
