// cursorialctl and the store under two processes and under crashes: processes starting together
// on an empty folder, a writer that holds the file past the busy timeout, a full disk while the
// file is created, and processes killed at random moments while they create, import and set.
// Afterwards the file is sound, holds four profiles of forty settings, and every change a
// process reported as done is there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "../support/CtlRun.h"
#include "ExchangeTestSupport.h"
#include "store/ConfigDatabase.h"
#include "store/SQLiteDB.h"

extern char** environ;

namespace cursorial {
namespace {

namespace fs = std::filesystem;
using test::CtlRun;
using test::DumpDatabase;
using test::QueryOne;
using test::WriteFile;
using Clock = std::chrono::steady_clock;

class StoreSharingCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(CURSORIAL_BINARY_DIR) / "tests" / "cli-store-sharing" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        data_ = folder_ / "data";
    }

    // `errName` keeps the standard error of runs made at the same time apart.
    CtlRun Ctl(const std::string& args, const std::string& errName = "stderr.txt") {
        return test::RunCtl("", "--data-dir '" + data_.string() + "' " + args, folder_ / errName);
    }

    fs::path DbFile() const { return data_ / "db" / "AERO_data1.db"; }

    std::string Sql(const std::string& sql) {
        SQLiteDB db;
        db.Open(DbFile().string(), ConfigDatabase::kOpenExisting);
        return QueryOne(db, sql);
    }

    // Sound file, four profiles, forty distinct settings each, one of them active.
    void ExpectCompleteProfileSet() {
        EXPECT_EQ(Sql("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(Sql("SELECT group_concat(profile) FROM t_profile_data"), "1,2,3,4");
        EXPECT_EQ(Sql("SELECT count(*) FROM t_configdata"), "160");
        EXPECT_EQ(Sql("SELECT count(*) FROM (SELECT DISTINCT profile, key FROM t_configdata)"),
                  "160");
        EXPECT_EQ(Sql("SELECT count(*) FROM t_profile_data WHERE status = 1"), "1");
    }

    // Commands run at the same time, each in its own thread; their results in order.
    std::vector<CtlRun> CtlTogether(const std::vector<std::string>& commands) {
        std::vector<CtlRun> runs(commands.size());
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < commands.size(); ++i) {
            threads.emplace_back(
                [&, i] { runs[i] = Ctl(commands[i], "stderr-" + std::to_string(i) + ".txt"); });
        }
        for (std::thread& t : threads)
            t.join();
        return runs;
    }

    fs::path folder_;
    fs::path data_;
};

TEST_F(StoreSharingCliTest, ProcessesStartingTogetherOnAnEmptyFolderMakeFourProfiles) {
    fs::create_directories(data_ / "db");
    const std::vector<CtlRun> runs = CtlTogether({"profile list", "profile list", "get dpi_index",
                                                  "set dpi_group0_value=500", "profile list"});
    for (const CtlRun& r : runs)
        EXPECT_EQ(r.exitCode, 0) << r.err;
    ExpectCompleteProfileSet();
    EXPECT_EQ(Sql("SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_group0_value'"),
              "500");
}

// Another program holds the file's write lock for longer than a command waits: every command
// fails with a message and changes nothing, and nothing is created twice afterwards.
TEST_F(StoreSharingCliTest, AWriterHoldingTheFilePastTheBusyTimeoutFailsEveryCommand) {
    ASSERT_EQ(Ctl("profile rename 2 Mine").exitCode, 0);
    SQLiteDB holder;
    ASSERT_TRUE(holder.Open(DbFile().string(), ConfigDatabase::kOpenExisting));
    const std::string before = DumpDatabase(holder);
    ASSERT_EQ(holder.Exec("BEGIN EXCLUSIVE"), 0);
    const std::vector<CtlRun> runs =
        CtlTogether({"profile list", "set dpi_index=3 sensor_flag=1", "profile activate 2",
                     "lighting list", "get dpi_index"});
    ASSERT_EQ(holder.Exec("COMMIT"), 0);
    for (const CtlRun& r : runs) {
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find("busy (another program holds the database)"), std::string::npos)
            << r.err;
    }
    EXPECT_EQ(DumpDatabase(holder), before);
    const CtlRun list = Ctl("profile list");
    EXPECT_EQ(list.out, "1 * Profile  1\n2 - Mine\n3 - Profile  3\n4 - Profile  4\n");
    ExpectCompleteProfileSet();
}

// The same on a file that another program is just creating: not taken for an empty database.
TEST_F(StoreSharingCliTest, AFileBeingCreatedElsewhereIsNotTakenForEmpty) {
    fs::create_directories(data_ / "db");
    SQLiteDB holder;
    ASSERT_TRUE(holder.Open(DbFile().string(), ConfigDatabase::kOpenCreate));
    ASSERT_EQ(holder.Exec("BEGIN EXCLUSIVE"), 0);
    const CtlRun busy = Ctl("profile list");
    ASSERT_EQ(holder.Exec("COMMIT"), 0);
    EXPECT_EQ(busy.exitCode, 3);
    EXPECT_EQ(busy.err, "cursorialctl: cannot open the database " + DbFile().string() +
                            ": busy (another program holds the database); nothing was changed\n");
    EXPECT_EQ(QueryOne(holder, "SELECT count(*) FROM sqlite_master"), "0");
    EXPECT_EQ(Ctl("profile list").exitCode, 0);
    ExpectCompleteProfileSet();
}

// A disk that fills up while the file is created (here: a file-size limit) leaves a file
// without tables, never a half-made one, and the next start makes it whole.
TEST_F(StoreSharingCliTest, AFullDiskWhileCreatingLeavesNothingHalfMade) {
    fs::create_directories(data_ / "db");
    const CtlRun full =
        test::RunCtl("trap '' XFSZ; ulimit -f 8;",
                     "--data-dir '" + data_.string() + "' profile list", folder_ / "stderr.txt");
    EXPECT_EQ(full.exitCode, 3);
    EXPECT_NE(full.err.find("cannot open the database"), std::string::npos) << full.err;
    EXPECT_TRUE(full.out.empty());
    if (fs::exists(DbFile())) {
        EXPECT_EQ(Sql("SELECT count(*) FROM sqlite_master"), "0");
        EXPECT_EQ(Sql("PRAGMA integrity_check"), "ok");
    }
    const CtlRun again = Ctl("profile list");
    EXPECT_EQ(again.exitCode, 0) << again.err;
    ExpectCompleteProfileSet();
}

// Lighting rows that cannot be made are an error of every command that needs them: nothing is
// printed, written or sent as if the profile had no lighting.
TEST_F(StoreSharingCliTest, LightingRowsThatCannotBeMadeFailTheCommand) {
    ASSERT_EQ(Ctl("profile list").exitCode, 0);
    {
        SQLiteDB db;
        ASSERT_TRUE(db.Open(DbFile().string(), ConfigDatabase::kOpenExisting));
        ASSERT_EQ(db.Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_light_data "
                          "BEGIN SELECT RAISE(FAIL, 'refused'); END"),
                  0);
    }
    const fs::path exported = folder_ / "out.xml";
    const fs::path trace = folder_ / "trace.txt";
    const struct {
        std::string args;
        std::string env;
    } cases[] = {
        {"lighting list", ""},
        {"profile export 1 '" + exported.string() + "'", ""},
        {"apply", "CURSORIAL_HID=sim CURSORIAL_HID_TRACE='" + trace.string() + "'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CtlRun r = test::RunCtl(c.env, "--data-dir '" + data_.string() + "' " + c.args,
                                      folder_ / "stderr.txt");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_EQ(r.err, "cursorialctl: cannot create the lighting rows of profile 1: failed\n");
    }
    EXPECT_FALSE(fs::exists(exported));
    EXPECT_FALSE(fs::exists(trace) && test::ReadFile(trace).find(" W ") != std::string::npos);
    EXPECT_EQ(Sql("SELECT count(*) FROM t_light_data"), "0");
}

// A file that is refused adds nothing, not even the lighting rows the import would have needed.
TEST_F(StoreSharingCliTest, ARefusedImportAddsNothing) {
    ASSERT_EQ(Ctl("profile list").exitCode, 0);
    SQLiteDB db;
    ASSERT_TRUE(db.Open(DbFile().string(), ConfigDatabase::kOpenExisting));
    const std::string before = DumpDatabase(db);
    const fs::path bad = folder_ / "bad.xml";
    WriteFile(bad, "<profile><profileinfo><Lightitems lightmode=\"3\"></profileinfo></profile>");
    const CtlRun r = Ctl("profile import '" + bad.string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(DumpDatabase(db), before);
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t_light_data"), "0");
}

// --- kill -9 at random moments ---------------------------------------------------------------

// Starts cursorialctl with `args` (output discarded); the process id, or -1.
pid_t Spawn(const std::vector<std::string>& args) {
    const std::string program = (fs::path(CURSORIAL_OUTPUT_DIR) / "cursorialctl").string();
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Runs the command and kills it after `delay` unless it has ended: true when it ended by itself
// with exit code 0 (its change is committed).
bool RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay) {
    const pid_t pid = Spawn(args);
    if (pid < 0)
        return false;
    std::this_thread::sleep_for(delay);
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid)
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(StoreSharingCliTest, ProcessesKilledAtRandomMomentsLeaveASoundFileWithEveryCommittedChange) {
    const std::string dataDir = "--data-dir=" + data_.string();
    fs::create_directories(data_ / "db");
    constexpr int kMacrosPerFile = 20;
    constexpr int kEventsPerMacro = 40;
    std::string set = "<macro>";
    for (int m = 0; m < kMacrosPerFile; ++m) {
        set += "<macro_item macro_name=\"M" + std::to_string(m) + "\"><record_item>";
        for (int e = 0; e < kEventsPerMacro; ++e) {
            set += "<item desc=\"d\" index=\"" + std::to_string(e) +
                   "\" type=\"2\" value=\"65\" timestamp=\"1\"/>";
        }
        set += "</record_item></macro_item>";
    }
    set += "</macro>";
    const fs::path setFile = folder_ / "set.xml";
    WriteFile(setFile, set);

    // A run's length without a kill: the moments are drawn from up to one and a half times it
    // (fixed seed), so most runs die part-way and about one in three gets through.
    const auto Length = [&](const std::vector<std::string>& args) {
        const auto start = Clock::now();
        const pid_t pid = Spawn(args);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    };
    std::mt19937 random(20261211);
    const auto Moment = [&](std::chrono::microseconds length) {
        std::uniform_int_distribution<long> pick(0, length.count() * 3 / 2);
        return std::chrono::microseconds(pick(random));
    };

    // Creation: each killed start leaves nothing or everything.
    const std::vector<std::string> create = {dataDir, "profile", "list"};
    const auto createLength = Length(create);
    for (int round = 0; round < 20; ++round) {
        fs::remove_all(data_ / "db");
        fs::create_directories(data_ / "db");
        RunAndKill(create, Moment(createLength));
        if (!fs::exists(DbFile()))
            continue;
        SCOPED_TRACE("creation round " + std::to_string(round));
        ASSERT_EQ(Sql("PRAGMA integrity_check"), "ok");
        const std::string profiles = Sql("SELECT count(*) FROM t_profile_data");
        ASSERT_TRUE(profiles == "<none>" || profiles == "0" || profiles == "4") << profiles;
        ASSERT_EQ(Sql("SELECT count(*) FROM t_configdata"), profiles == "4" ? "160" : profiles);
    }

    // Imports and multi-key sets, killed at random moments and interleaved.
    const std::vector<std::string> import = {dataDir, "macro", "import-set", setFile.string()};
    const auto importLength = Length(import);
    int importsDone = 1;  // the timing run
    int importsTried = 1;
    const auto Setting = [&](int round) {
        return std::vector<std::string>{dataDir, "set", "dpi_group0_value=" + std::to_string(round),
                                        "dpi_group1_value=" + std::to_string(round),
                                        "sleep_light=" + std::to_string(round)};
    };
    const auto setLength = Length(Setting(0));
    int lastDone = 0;
    std::vector<int> triedAfter;  // values tried after the last one known to be committed
    for (int round = 1; round <= 25; ++round) {
        ++importsTried;
        if (RunAndKill(import, Moment(importLength)))
            ++importsDone;
        if (RunAndKill(Setting(round), Moment(setLength))) {
            lastDone = round;
            triedAfter.clear();
        } else {
            triedAfter.push_back(round);
        }
    }

    ExpectCompleteProfileSet();
    const int macros = std::stoi(Sql("SELECT count(*) FROM t_macro_data"));
    EXPECT_EQ(macros % kMacrosPerFile, 0) << macros;
    EXPECT_GE(macros / kMacrosPerFile, importsDone);
    EXPECT_LE(macros / kMacrosPerFile, importsTried);
    EXPECT_EQ(Sql("SELECT count(*) FROM t_macrorecord"), std::to_string(macros * kEventsPerMacro));
    const std::string value =
        Sql("SELECT value FROM t_configdata WHERE profile = 1 AND key = 'dpi_group0_value'");
    for (const char* key : {"dpi_group1_value", "sleep_light"}) {
        EXPECT_EQ(Sql(std::string("SELECT value FROM t_configdata WHERE profile = 1 AND key = '") +
                      key + "'"),
                  value);
    }
    // The last committed set, or a later one that was killed only after it committed.
    bool expected = lastDone > 0 && value == std::to_string(lastDone);
    for (int round : triedAfter)
        expected = expected || value == std::to_string(round);
    if (lastDone == 0)
        expected = expected || value == "0";
    EXPECT_TRUE(expected) << "value " << value << ", last committed " << lastDone;
    EXPECT_GT(lastDone, 0);  // some runs must get through, or the moments are all too early
    EXPECT_GT(importsDone, 1);
}

}  // namespace
}  // namespace cursorial
