// The real program started as a user starts it: offscreen, against the simulated mouse, with
// folders of its own. The program reports its window through the CURSORIAL_REPORT_WINDOW hook
// (src/program/StartUp.cpp): "started <state>" once running, "shown" after an activation.
#include <gtest/gtest.h>

#include <QTest>

#include <fstream>
#include <iterator>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>

#include "GuiTestSupport.h"

namespace cursorial {
namespace {

using testing::ScratchFolder;

constexpr int kWaitMs = 10000;

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path run = scratch_.Path() / "run";
        std::filesystem::create_directories(run);
        ::chmod(run.c_str(), 0700);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        env_.insert("CURSORIAL_HID", "sim");
        env_.insert("CURSORIAL_REPORT_WINDOW", "1");
        env_.insert("XDG_RUNTIME_DIR", QString::fromStdString(run.string()));
        env_.insert("XDG_CONFIG_HOME",
                    QString::fromStdString((scratch_.Path() / "config").string()));
        env_.insert("XDG_DATA_HOME", QString::fromStdString((scratch_.Path() / "data").string()));
        env_.remove("XDG_ACTIVATION_TOKEN");
    }

    void TearDown() override {
        for (auto& p : processes_) {
            p->kill();
            p->waitForFinished(kWaitMs);
        }
    }

    QProcess& Start(const QStringList& arguments,
                    const QProcessEnvironment* environment = nullptr) {
        auto& p = processes_.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(environment ? *environment : env_);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(QStringLiteral(CURSORIAL_OUTPUT_DIR "/cursorial"), arguments);
        EXPECT_TRUE(p->waitForStarted(kWaitMs));
        return *p;
    }

    // The next line the program prints; empty when none comes in time.
    static QString ReadLine(QProcess& p) {
        while (!p.canReadLine()) {
            if (!p.waitForReadyRead(kWaitMs))
                return {};
        }
        return QString::fromUtf8(p.readLine()).trimmed();
    }

    ScratchFolder scratch_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(StartUp, ALaterStartShowsTheHiddenFirstWindowAndEndsWithZero) {
    QProcess& first = Start({"-hide"});
    // Offscreen there is no tray, so "-hide" starts minimized: hidden, the window could not be
    // reached again.
    ASSERT_EQ(ReadLine(first), "started minimized");
    EXPECT_TRUE(std::filesystem::is_directory(scratch_.Path() / "data" / "Cursorial Files" / "db"));

    QProcessEnvironment withToken = env_;
    withToken.insert("XDG_ACTIVATION_TOKEN", "token-from-the-launcher");
    QProcess& second = Start({}, &withToken);
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty()) << "the second start opens no window";

    EXPECT_EQ(ReadLine(first), "shown");
    EXPECT_EQ(first.state(), QProcess::Running);

    // Another later start, after the first has gone, runs the program itself.
    first.kill();
    first.waitForFinished(kWaitMs);
    QProcess& third = Start({});
    EXPECT_EQ(ReadLine(third), "started normal");
}

// With the virtual mouse the program finds it, makes the model's database in the user's data
// folder with its four profiles, and reads the mouse's settings through the HID trace.
TEST_F(StartUp, FindsTheMouseAndSynchronisesIntoTheUsersDatabase) {
    QProcessEnvironment env = env_;
    const std::filesystem::path trace = scratch_.Path() / "trace.txt";
    env.insert("CURSORIAL_HID_TRACE", QString::fromStdString(trace.string()));
    QProcess& p = Start({}, &env);
    EXPECT_EQ(ReadLine(p), "started normal");
    const std::filesystem::path db = scratch_.Path() / "data" / "Cursorial Files" / "db";
    std::string traced;
    for (int i = 0; i < 200 && traced.find(" 00 17 ") == std::string::npos; ++i) {
        QTest::qWait(25);
        std::ifstream in(trace);
        traced.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(traced.find(" 00 17 "), std::string::npos) << "the settings read reached 0x17";
    EXPECT_TRUE(std::filesystem::exists(db / "AERO_data1.db")) << db;
}

TEST_F(StartUp, OnlyTheLowerCaseHideSwitchStartsOutOfSight) {
    const struct {
        QStringList arguments;
        const char* expected;
    } cases[] = {
        {{"-autorun"}, "started normal"},
        {{"-HIDE"}, "started normal"},
        {{"x-hidey"}, "started minimized"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess& p = Start(c.arguments);
        EXPECT_EQ(ReadLine(p), c.expected);
        p.kill();
        p.waitForFinished(kWaitMs);
    }
}

TEST_F(StartUp, TerminationSignalsEndTheProgramThroughItsExitSteps) {
    const std::filesystem::path socket = scratch_.Path() / "run" / "Cursorial.socket";
    for (const int signo : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signo);
        QProcess& p = Start({});
        ASSERT_EQ(ReadLine(p), "started normal");
        ASSERT_TRUE(std::filesystem::is_socket(socket));
        ASSERT_EQ(::kill(static_cast<pid_t>(p.processId()), signo), 0);
        ASSERT_TRUE(p.waitForFinished(kWaitMs));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 128 + signo);
        EXPECT_FALSE(std::filesystem::exists(socket)) << "the exit steps remove the socket file";
    }
}

}  // namespace
}  // namespace cursorial
