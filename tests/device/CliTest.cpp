// cursorialctl's device commands end to end: the built program run against the simulator,
// its output lines and exit codes checked.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../support/CtlRun.h"

namespace {

namespace fs = std::filesystem;

using cursorial::test::CtlRun;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(CURSORIAL_BINARY_DIR) / "tests" / "cli-device" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    // Describes the simulated devices for the next runs.
    void World(const std::string& text) {
        simFile_ = folder_ / "sim.ini";
        std::ofstream(simFile_) << "latency_ms = 0\n" << text;
    }

    CtlRun Ctl(const std::string& args, const std::string& extraEnv = "") {
        std::string env = "CURSORIAL_HID=sim ";
        if (!simFile_.empty())
            env += "CURSORIAL_SIM='" + simFile_.string() + "' ";
        return cursorial::test::RunCtl(env + extraEnv, args, folder_ / "stderr.txt");
    }

    fs::path folder_;
    fs::path simFile_;
};

TEST_F(CliTest, DevicesListsEveryCommandInterface) {
    const CtlRun r = Ctl("devices");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "sim:aero-cable:2 1209:0001 cable ff01:0010 type=201 online=1 id=AE01\n"
              "sim:aero-receiver:2 1209:0002 receiver ff01:0010 type=0 online=1 id=-\n"
              "sim:terra-cable:2 1209:0003 cable ff01:0010 type=202 online=1 id=TR01\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, InfoOfEachModel) {
    const CtlRun aero = Ctl("info");
    EXPECT_EQ(aero.exitCode, 0) << aero.err;
    EXPECT_EQ(aero.out,
              "type=201\nconnection=cable\nidentifier=AE01\nsensor=150\nrate_class=7\n"
              "battery=80\ncharge=0\nconnected=1\nfirmware=1.05\n");
    const CtlRun terra = Ctl("info --type 202");
    EXPECT_EQ(terra.exitCode, 0) << terra.err;
    EXPECT_NE(terra.out.find("sensor=17\nrate_class=4\n"), std::string::npos) << terra.out;
    EXPECT_NE(terra.out.find("firmware=1.02\n"), std::string::npos) << terra.out;
}

TEST_F(CliTest, InfoOverTheReceiverAsksTheFirmwareVersion) {
    World("base = shipped\n[device aero-cable]\nplugged = 0\n[mouse aero]\nfirmware_minor = 7\n");
    const CtlRun r = Ctl("info");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("connection=receiver\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("firmware=1.07\n"), std::string::npos) << r.out;
}

TEST_F(CliTest, ReadPrintsTheStoredSettings) {
    const CtlRun r = Ctl("read --type 202");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const char* line :
         {"report_rate=1\n", "dpi_count=4\n", "dpi_index=1\n", "dpi_group5_value=9600\n",
          "dpi_group0_rgb=255\n", "liftoff_height=1\n", "sensor_flag=0\n", "sleep_light=10\n",
          "button_respondtime=4\n", "light_mode=0\n", "light_brightness=5\n", "light_speed=3\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
}

// Sensor options live in the mouse's state, so a world can start with them set.
TEST_F(CliTest, ReadShowsTheSensorOptionsOfTheWorld) {
    World("base = shipped\n[mouse terra]\nsensor_options = 1, 1\n");
    const CtlRun r = Ctl("read --type 202");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("sensor_flag=12\n"), std::string::npos) << r.out;
}

// The answer wait bounds the identification too: two tries and the pause between them.
TEST_F(CliTest, WaitAppliesToIdentifyingTheMouse) {
    World("[mouse aero]\n[device aero-cable]\nmouse = aero\nanswer_limit = 0\n");
    const auto start = std::chrono::steady_clock::now();
    const CtlRun r = Ctl("info --wait 50");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "cursorialctl: no connected device answered\n");
    EXPECT_LT(took, std::chrono::milliseconds(1500));  // 3.5 s with the default waits
}

TEST_F(CliTest, EnvironmentProblemsCarryTheProgramsName) {
    const fs::path missing = folder_ / "no-such-world.ini";
    const CtlRun unreadable =
        cursorial::test::RunCtl("CURSORIAL_HID=sim CURSORIAL_SIM='" + missing.string() + "'",
                                "devices", folder_ / "stderr.txt");
    EXPECT_EQ(unreadable.exitCode, 3);
    EXPECT_EQ(unreadable.err, "cursorialctl: simulator: cannot read " + missing.string() + "\n");

    World("[mouse m]\nsensor = 300\n");
    const CtlRun bad = Ctl("info");
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_EQ(bad.err, "cursorialctl: simulator: " + simFile_.string() +
                           ": line 3: bad key or value: sensor = 300\n");

    World("base = shipped\n");
    const fs::path noFolder = folder_ / "missing" / "trace.txt";
    const CtlRun trace = Ctl("info", "CURSORIAL_HID_TRACE='" + noFolder.string() + "'");
    EXPECT_EQ(trace.exitCode, 0);  // traced or not, the command works
    EXPECT_EQ(trace.err,
              "cursorialctl: cannot open the HID trace file " + noFolder.string() + "\n");
}

TEST_F(CliTest, SendPrintsTheAnswer) {
    const fs::path trace = folder_ / "trace.txt";
    const CtlRun r =
        Ctl("send --type 202 02 00 01 01 04", "CURSORIAL_HID_TRACE='" + trace.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string expected = "02";
    for (int i = 1; i < 33; ++i)
        expected += " 00";
    EXPECT_EQ(r.out, expected + "\n");
    // The trace holds the report as written, checksum filled in.
    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(" W sim:terra-cable:2 00 02 00 01 01 04 00"), std::string::npos);
}

TEST_F(CliTest, ExitCodesTellTheFailuresApart) {
    struct Case {
        const char* world;  // empty: the shipped devices
        const char* args;
        int exitCode;
        const char* err;
    };
    const std::vector<Case> cases = {
        {"", "", 2, ""},
        {"", "frobnicate", 2,
         "cursorialctl: unknown command \"frobnicate\" (try cursorialctl help)\n"},
        {"", "info --type x", 2,
         "cursorialctl: info: --type wants a number from 1 to 1073741824, not \"x\"\n"},
        {"", "info --colour", 2, "cursorialctl: info: unknown option --colour\n"},
        {"", "send 2", 2, "cursorialctl: send: \"2\" is not hexadecimal bytes\n"},
        {"", "devices now", 2, "cursorialctl: devices takes no arguments\n"},
        {"", "info --type 999", 1, "cursorialctl: no connected device of type 999\n"},
        {"base = empty\n", "info", 1, "cursorialctl: no supported device is connected\n"},
        {"base = shipped\n[device terra-cable]\nanswer_limit = 1\n", "info --type 202 --wait 20", 1,
         "cursorialctl: information: the mouse did not answer\n"},
        {"", "send --wait 20 33 00 01", 1,
         "cursorialctl: send: the mouse refused the command (non-zero status) (status 0x01)\n"},
        {"base = shipped\n[device terra-cable]\nunplug_after = 1\n", "info --type 202", 1,
         "cursorialctl: information: the report could not be written\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        World(*c.world ? c.world : "base = shipped\n");
        const CtlRun r = Ctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        if (*c.err) {
            EXPECT_EQ(r.err, c.err);
        }
    }
}

TEST_F(CliTest, PermissionProblemIsExplained) {
    World("base = shipped\n[device aero-cable]\ndeny_open = 1\n");
    const CtlRun r = Ctl("devices");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err,
              "cursorialctl: no permission to open sim:aero-cable:2 (1209:0001): install the "
              "udev rule 70-cursorial.rules (see docs/cli.md) and plug the device in again\n");
    EXPECT_EQ(r.out.find("aero-cable"), std::string::npos);
}

}  // namespace
