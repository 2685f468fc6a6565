// cursorialctl's store commands end to end: the built program against a data folder of the
// test's own and the simulator, its output lines, exit codes, the database it leaves and the
// reports it writes (HID trace).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/CtlRun.h"
#include "ExchangeTestSupport.h"
#include "store/SQLiteDB.h"

namespace cursorial {
namespace {

namespace fs = std::filesystem;
using test::QueryOne;
using test::ReadFile;
using test::WriteFile;

using test::CtlRun;

class StoreCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(CURSORIAL_BINARY_DIR) / "tests" / "cli-store" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        data_ = folder_ / "data";
    }

    // Runs cursorialctl with the data folder given before the command; `env` is prepended.
    CtlRun Ctl(const std::string& args, const std::string& env = "") {
        return test::RunCtl("CURSORIAL_HID=sim " + env,
                            "--data-dir '" + data_.string() + "' " + args, folder_ / "stderr.txt");
    }

    // The command ids of the reports written to the Aero's command interface by cable.
    std::vector<std::string> WrittenCommands(const fs::path& trace) {
        std::vector<std::string> ids;
        std::istringstream lines(ReadFile(trace));
        std::string line;
        while (std::getline(lines, line)) {
            const std::size_t w = line.find(" W sim:aero-cable:2 00 ");
            if (w != std::string::npos)
                ids.push_back(line.substr(w + 23, 2));
        }
        return ids;
    }

    std::string Sql(const std::string& model, const std::string& sql) {
        SQLiteDB db;
        db.Open((data_ / "db" / (model + "_data1.db")).string(), 0x10002);
        return QueryOne(db, sql);
    }

    fs::path folder_;
    fs::path data_;
};

TEST_F(StoreCliTest, AnEmptyDataFolderGetsTheModelsDatabaseAndProfiles) {
    CtlRun r = Ctl("profile list");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1 * Profile  1\n2 - Profile  2\n3 - Profile  3\n4 - Profile  4\n");
    EXPECT_EQ(Sql("AERO", "SELECT count(*) FROM t_configdata"), "160");
    // The description's defaults are in (Aero: six stages from 400, sleep 30).
    r = Ctl("get dpi_group0_value sleep_light report_rate");
    EXPECT_EQ(r.out, "dpi_group0_value=400\nsleep_light=30\nreport_rate=1\n");

    EXPECT_EQ(Ctl("profile rename 3 Office").exitCode, 0);
    EXPECT_EQ(Ctl("profile activate 3").exitCode, 0);
    EXPECT_EQ(Ctl("set dpi_index=3 sensor_flag=12").exitCode, 0);
    r = Ctl("--model TERRA profile list");
    EXPECT_EQ(r.out.substr(0, 14), "1 * Profile  1");
    EXPECT_EQ(Ctl("--type=202 get report_rate").out, Ctl("--model TERRA get report_rate").out);
    r = Ctl("profile list");
    EXPECT_EQ(r.out, "1 - Profile  1\n2 - Profile  2\n3 * Office\n4 - Profile  4\n");
    EXPECT_EQ(Ctl("get --profile 3 dpi_index sensor_flag").out, "dpi_index=3\nsensor_flag=12\n");
    EXPECT_EQ(Ctl("get --profile 1 dpi_index").out, "dpi_index=1\n");

    EXPECT_EQ(Ctl("set dpi_group0_value=123 report_rate=8").exitCode, 0);
    EXPECT_EQ(Ctl("defaults --dpi-only").exitCode, 0);
    EXPECT_EQ(Ctl("get dpi_group0_value report_rate").out, "dpi_group0_value=400\nreport_rate=8\n");
    EXPECT_EQ(Ctl("defaults").exitCode, 0);
    EXPECT_EQ(Ctl("get report_rate").out, "report_rate=1\n");
}

TEST_F(StoreCliTest, BadArgumentsChangeNothing) {
    ASSERT_EQ(Ctl("profile list").exitCode, 0);
    const struct {
        const char* args;
        int exitCode;
        const char* err;
    } cases[] = {
        {"set dpi_index=2 colour=1", 2, "cursorialctl: set: \"colour\" is not a setting\n"},
        {"get colour", 2, "cursorialctl: get: \"colour\" is not a setting\n"},
        {"set dpi_index", 2, "cursorialctl: set: \"dpi_index\" is not KEY=VALUE\n"},
        {"get --profile 9 dpi_index", 2, "cursorialctl: there is no profile 9\n"},
        {"profile rename 2", 2, "cursorialctl: usage: cursorialctl profile rename N NAME\n"},
        {"profile delete 2", 2, "cursorialctl: profile: unknown subcommand \"delete\"\n"},
        {"--model MOUSE profile list", 2, "cursorialctl: no model \"MOUSE\" in the catalogue\n"},
        {"buttons set 9 1 1", 2, "cursorialctl: buttons set: the Cursorial Aero has no button 9\n"},
        {"buttons set 1 4 77", 2, "cursorialctl: buttons set: there is no macro 77\n"},
        {"--model TERRA lighting list", 2, "cursorialctl: the Cursorial Terra has no lighting\n"},
        {"lighting set 1 brightness=5", 2,
         "cursorialctl: lighting set: brightness is a number from 0 to 4\n"},
        {"macro show 5", 2, "cursorialctl: there is no macro 5\n"},
        {"lighting set 1 colors=#\xC3\xA9"
         "1234",
         2, "cursorialctl: lighting set: colors wants up to 7 colours, each a number or #RRGGBB\n"},
    };
    const std::string before = Ctl("get dpi_index").out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CtlRun r = Ctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_EQ(Ctl("get dpi_index").out, before);
    EXPECT_EQ(Sql("AERO", "SELECT count(*) FROM t_key_macro_data"), "0");
}

TEST_F(StoreCliTest, ProfileFilesRoundTripAndRefusedFilesSayWhy) {
    ASSERT_EQ(Ctl("buttons set 2 2 4 2 Ctrl+A").exitCode, 0);
    ASSERT_EQ(Ctl("set dpi_group1_value=4242").exitCode, 0);
    const fs::path file = folder_ / "Travel.xml";
    ASSERT_EQ(Ctl("profile export 1 '" + file.string() + "'").exitCode, 0);
    EXPECT_NE(ReadFile(file).find("<profileinfo name=\"Profile  1\">\r\n<keyitems>\r\n<item "
                                  "key_code=\"2\" macro_type=\"2\" macro_value=\"4\" "
                                  "macro_value2=\"2\" macro_value3=\"0\" macro_desc=\"Ctrl+A\"/>"),
              std::string::npos);

    EXPECT_EQ(Ctl("profile activate 2").exitCode, 0);
    CtlRun r = Ctl("profile import '" + file.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2 Travel\n");
    EXPECT_EQ(Ctl("get dpi_group1_value").out, "dpi_group1_value=4242\n");
    EXPECT_EQ(Ctl("buttons list").out.find("2 2 4 2 stored Ctrl+A\n") != std::string::npos, true);

    const fs::path bad = folder_ / "bad.xml";
    WriteFile(bad, "<profile><profileinfo></profile>");
    r = Ctl("profile import '" + bad.string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "cursorialctl: cannot import " + bad.string() + ": not well-formed XML\n");
    r = Ctl("profile import '" + (folder_ / "none.xml").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(": file unreadable"), std::string::npos);
    EXPECT_EQ(Ctl("profile list").out,
              "1 - Profile  1\n2 * Travel\n3 - Profile  3\n4 - Profile  4\n");
}

// Profiles nobody has shown yet have no lighting rows; a file still carries and gives them.
TEST_F(StoreCliTest, ProfileFilesCarryTheLightingOfAProfileNeverShown) {
    const fs::path exported = folder_ / "Two.xml";
    ASSERT_EQ(Ctl("profile export 2 '" + exported.string() + "'").exitCode, 0);
    const std::string text = ReadFile(exported);
    EXPECT_NE(text.find("<Lightitems lightmode=\"1\">\r\n<item light_mode=\"1\" brightness=\"4\""),
              std::string::npos)
        << text;

    const fs::path file = folder_ / "Dim.xml";
    WriteFile(file,
              "<profile><profileinfo><keyitems/><Lightitems lightmode=\"3\">"
              "<item light_mode=\"3\" brightness=\"1\" speed=\"0\"/></Lightitems>"
              "</profileinfo></profile>");
    ASSERT_EQ(Ctl("profile import --profile 3 '" + file.string() + "'").exitCode, 0);
    EXPECT_NE(Ctl("lighting list --profile 3").out.find("\n3 * 1 0 0,0,0,0,0,0,0 Static\n"),
              std::string::npos);
}

TEST_F(StoreCliTest, MacrosAndButtonsGoToTheMouseAsTheButtonPageSendsThem) {
    const fs::path single = folder_ / "one.xml";
    WriteFile(single,
              "<macro><macroinfo macro_name=\"Press\" macro_type=\"0\" play_times=\"2\" "
              "delay_type=\"1\" delay_time=\"0\"/><macroitems>"
              "<item desc=\"up\" index=\"1\" type=\"3\" value=\"65\" timestamp=\"5\"/>"
              "<item desc=\"down\" index=\"0\" type=\"2\" value=\"65\" timestamp=\"5\"/>"
              "</macroitems></macro>");
    CtlRun r = Ctl("macro import '" + single.string() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1 Press\n");
    EXPECT_EQ(Ctl("macro list").out, "1 2 Press\n");
    EXPECT_EQ(Ctl("macro show 1").out,
              "id=1\nname=Press\nplay_type=0\nplay_count=2\ndelay_type=1\ndelay_time=0\n"
              "event 0 2 65 5 down\nevent 1 3 65 5 up\n");

    const fs::path set = folder_ / "all.xml";
    ASSERT_EQ(Ctl("macro export-all '" + set.string() + "'").exitCode, 0);
    r = Ctl("macro import-set '" + set.string() + "'");
    EXPECT_EQ(r.out, "2 Press\n");
    ASSERT_EQ(Ctl("macro export 2 '" + (folder_ / "two.xml").string() + "'").exitCode, 0);
    EXPECT_NE(ReadFile(folder_ / "two.xml").find("<macroinfo macro_name=\"Press\""),
              std::string::npos);

    // A macro on button 3, sent: its data (0x08), then the button table (0x09).
    const fs::path trace = folder_ / "trace.txt";
    r = Ctl("buttons set 3 4 1 --send", "CURSORIAL_HID_TRACE='" + trace.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WrittenCommands(trace), (std::vector<std::string>{"10", "08", "09"}));
    EXPECT_NE(ReadFile(trace).find(" W sim:aero-cable:2 00 09 00 01 0F 10 01 00 10 02 00 10 04 00 "
                                   "90 23 02 "),
              std::string::npos);
    EXPECT_NE(Ctl("buttons list").out.find("3 4 1 0 stored Press\n"), std::string::npos);

    fs::remove(trace);
    r = Ctl("buttons reset --send", "CURSORIAL_HID_TRACE='" + trace.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WrittenCommands(trace), (std::vector<std::string>{"10", "09"}));
    EXPECT_NE(ReadFile(trace).find(" W sim:aero-cable:2 00 09 00 01 0F 10 01 00 10 02 00 10 04 00 "
                                   "10 08 00 "),
              std::string::npos);
}

TEST_F(StoreCliTest, ApplyWritesTheWholeProfileInOrder) {
    ASSERT_EQ(Ctl("lighting set 3 brightness=1 speed=0 colors=#00FF00,16711680").exitCode, 0);
    EXPECT_NE(Ctl("lighting list")
                  .out.find("\n3 * 1 0 65280,16711680,16711680,16776960,65535,16711935,16777215 "
                            "Static\n"),
              std::string::npos);
    ASSERT_EQ(Ctl("set report_rate=8").exitCode, 0);
    const fs::path trace = folder_ / "trace.txt";
    CtlRun r = Ctl("apply", "CURSORIAL_HID_TRACE='" + trace.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // Identification while enumerating, the information, then the profile.
    EXPECT_EQ(WrittenCommands(trace),
              (std::vector<std::string>{"10", "10", "09", "05", "03", "04", "02", "06", "07"}));
    const std::string text = ReadFile(trace);
    EXPECT_NE(text.find(" W sim:aero-cable:2 00 05 00 01 05 03 10 00 FF 00 "), std::string::npos);
    EXPECT_NE(text.find(" W sim:aero-cable:2 00 02 00 01 01 08 "), std::string::npos);

    // Terra has no lighting: no 0x05.
    fs::remove(trace);
    r = Ctl("--model TERRA apply", "CURSORIAL_HID_TRACE='" + trace.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> terra;
    std::istringstream lines(ReadFile(trace));
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t w = line.find(" W sim:terra-cable:2 00 ");
        if (w != std::string::npos)
            terra.push_back(line.substr(w + 24, 2));
    }
    EXPECT_EQ(terra, (std::vector<std::string>{"10", "10", "09", "03", "04", "02", "06", "07"}));
}

}  // namespace
}  // namespace cursorial
