// The profile exchange file: the exact bytes written, the round trip, the reading rules, and
// files from outside that must change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExchangeTestSupport.h"
#include "common/text/WideText.h"
#include "exchange/ProfileExchange.h"

namespace cursorial {
namespace {

using test::CrLf;
using test::DumpDatabase;
using test::Query;
using test::QueryOne;
using test::ReadFile;
using test::Rows;
using test::Visible;
using test::WriteFile;

const std::string kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

// The Mouse_DPI and Mouse part of a freshly seeded profile.
const std::string kSeededSettings = CrLf({
    R"(<Mouse_DPI dpi_flag="6" dpi_index="1" dpi_count="6">)",
    R"(<DPI1 value="800" color="255"/>)",
    R"(<DPI2 value="1600" color="16711680"/>)",
    R"(<DPI3 value="2400" color="65280"/>)",
    R"(<DPI4 value="3200" color="65535"/>)",
    R"(<DPI5 value="6400" color="16711935"/>)",
    R"(<DPI6 value="26000" color="16776960"/>)",
    R"(</Mouse_DPI>)",
    R"(<Mouse>)",
    R"(<button_respondtime value="8"/>)",
    R"(<report_rate value="2"/>)",
    R"(<sensor_flag value="53"/>)",
    R"(<liftoff_height value="1"/>)",
    R"(<scroll_flag value="1"/>)",
    R"(<e-sports_flag value="0"/>)",
    R"(<sleep_light value="1"/>)",
    R"(<move_wakeup value="1"/>)",
    R"(<move_closelight value="1"/>)",
    R"(</Mouse>)",
});

class ProfileExchangeTest : public test::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        for (int n = 1; n <= 2; ++n) {
            ProfileRecord record;
            record.name = u"Profile " + IntToText(n);
            ASSERT_EQ(db_.AddProfile(record), n);
        }
    }

    void AddKey(int profile, int keyCode, int type, int value, int value2,
                std::u16string description) {
        KeyAssignment key;
        key.profile = profile;
        key.keyCode = keyCode;
        key.type = type;
        key.value = value;
        key.value2 = value2;
        key.description = std::move(description);
        ASSERT_GT(db_.SaveKeyAssignment(key), 0);
    }

    void AddLight(int profile, int mode) {
        LightSetting light;
        light.profile = profile;
        light.name = u"流光";
        light.mode = mode;
        light.brightness = 4;
        light.speed = 2;
        light.colorful = 1;
        light.colors = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
        light.configFunc = 3;
        light.reserved = 280;
        ASSERT_GT(db_.AddLightSetting(light), 0);
    }

    std::string Keys(int profile) {
        std::string out;
        for (const auto& row : Query(db_,
                                     "SELECT key_code, macro_type, macro_value, macro_value2, "
                                     "macro_value3, macro_desc FROM t_key_macro_data WHERE "
                                     "profile = " +
                                         std::to_string(profile) + " ORDER BY key_code")) {
            for (const auto& v : row)
                out += v + ",";
            out += ";";
        }
        return out;
    }

    std::string Settings(int profile) {
        std::string out;
        for (const auto& row : Query(db_, "SELECT key, value FROM t_configdata WHERE profile = " +
                                              std::to_string(profile) + " ORDER BY config_id")) {
            out += row[0] + "=" + row[1] + ";";
        }
        return out;
    }

    std::string Value(int profile, const std::string& key) {
        return QueryOne(db_, "SELECT value FROM t_configdata WHERE profile = " +
                                 std::to_string(profile) + " AND key = '" + key + "'");
    }
};

TEST_F(ProfileExchangeTest, ExportWritesTheExactLayout) {
    AddKey(1, 3, 4, 7, 0, u"Custom 1");
    AddKey(1, 1, 2, 4, 2, u"Ctrl + <A> & \"B\"");
    AddLight(1, 1);
    AddLight(1, 3);
    db_.SetActiveLightMode(1, 3);
    const auto file = File("out.xml");
    ASSERT_EQ(ExportProfile(db_, 1, u"Profile  1", true, file), ExchangeResult::kOk);
    const std::string expected =
        CrLf({
            kDeclaration,
            R"(<profile>)",
            R"(<profileinfo name="Profile  1">)",
            R"(<keyitems>)",
            R"(<item key_code="3" macro_type="4" macro_value="7" macro_value2="0" macro_value3="0" macro_desc="Custom 1"/>)",
            R"(<item key_code="1" macro_type="2" macro_value="4" macro_value2="2" macro_value3="0" macro_desc="Ctrl + &lt;A&gt; &amp; &quot;B&quot;"/>)",
            R"(</keyitems>)",
            R"(<Lightitems lightmode="3">)",
            R"(<item light_mode="1" brightness="4" speed="2" direction="0" colorful="1" colorindex="0" color_value1="255" color_value2="65280" color_value3="16711680" color_value4="16776960" color_value5="65535" color_value6="16711935" color_value7="16777215"/>)",
            R"(<item light_mode="3" brightness="4" speed="2" direction="0" colorful="1" colorindex="0" color_value1="255" color_value2="65280" color_value3="16711680" color_value4="16776960" color_value5="65535" color_value6="16711935" color_value7="16777215"/>)",
            R"(</Lightitems>)",
        }) +
        kSeededSettings + CrLf({R"(</profileinfo>)", R"(</profile>)"});
    const std::string written = ReadFile(file);
    EXPECT_EQ(written, expected) << Visible(written);
}

TEST_F(ProfileExchangeTest, ExportWithoutAssignmentsOrLightingWritesAnEmptyKeyitems) {
    AddLight(2, 1);  // ignored: the model has no lighting
    const auto file = File("empty.xml");
    ASSERT_EQ(ExportProfile(db_, 2, u"Name", false, file), ExchangeResult::kOk);
    const std::string expected =
        CrLf({kDeclaration, "<profile>", R"(<profileinfo name="Name">)", "<keyitems/>"}) +
        kSeededSettings + CrLf({"</profileinfo>", "</profile>"});
    const std::string written = ReadFile(file);
    EXPECT_EQ(written, expected) << Visible(written);
    EXPECT_EQ(ExportProfile(db_, 2, u"Name", false, File("no/such/folder.xml")),
              ExchangeResult::kWriteFailed);
}

TEST_F(ProfileExchangeTest, RoundTripKeepsEverythingButTheName) {
    AddKey(1, 0, 2, 4, 2, u"Ctrl + A");
    AddKey(1, 5, 4, 9, 0, u"<macro> & 'quotes'");
    AddLight(1, 1);
    AddLight(1, 2);
    db_.SetActiveLightMode(1, 2);
    db_.SetConfigValue(1, u"dpi_group3_value", u"12345");
    db_.SetConfigValue(1, u"e-sports_flag", u"1");
    const std::string keys = Keys(1);
    const std::string settings = Settings(1);
    const std::string lights = test::QueryOne(db_, "SELECT group_concat(status) FROM t_light_data");

    const auto file = File("Gaming.xml");
    ASSERT_EQ(ExportProfile(db_, 1, u"whatever", true, file), ExchangeResult::kOk);
    std::u16string name;
    ASSERT_EQ(ImportProfile(db_, 1, file, true, &name), ExchangeResult::kOk);
    EXPECT_EQ(name, u"Gaming");
    EXPECT_EQ(QueryOne(db_, "SELECT name FROM t_profile_data WHERE profile = 1"), "Gaming");
    EXPECT_EQ(Keys(1), keys);
    EXPECT_EQ(Settings(1), settings);
    EXPECT_EQ(QueryOne(db_, "SELECT group_concat(status) FROM t_light_data"), lights);

    // Into the other profile: its assignments are replaced by the file's.
    AddKey(2, 7, 1, 1, 0, u"gone");
    ASSERT_EQ(ImportProfile(db_, 2, file, true), ExchangeResult::kOk);
    EXPECT_EQ(Keys(2), keys);
    EXPECT_EQ(Value(2, "dpi_group3_value"), "12345");
}

TEST_F(ProfileExchangeTest, ImportFollowsTheReadingRules) {
    AddKey(1, 2, 1, 3, 0, u"old");
    AddLight(1, 1);
    const struct {
        const char* fileName;
        std::string body;  // children of profileinfo
        bool hasLighting;
        const char* expectName;
        const char* expectKeys;
        const char* expectRespond;  // button_respondtime
        const char* expectRate;     // report_rate
        const char* expectLightBrightness;
    } cases[] = {
        // Empty keyitems: the assignments are cleared.
        {"Empty.xml", "<keyitems/>", true, "Empty", "", "8", "2", "4"},
        // An item back on the default (type 1, value 0) leaves no row. report_rate before
        // button_respondtime: the search for button_respondtime (first in the format) passes
        // over report_rate, and the search for report_rate then starts after it: only
        // button_respondtime is taken.
        {"ab.xml",
         R"(<keyitems><item key_code="2" macro_type="1" macro_value="0"/><item key_code="4" macro_type="1" macro_value="5" macro_desc="x"/></keyitems>)"
         R"(<Mouse><report_rate value="8"/><button_respondtime value="3"/></Mouse>)",
         true, "ab", "4,1,5,0,0,x,;", "3", "2", "4"},
        // Lightitems is ignored for a model without lighting; the rest is read.
        {"NoLight.xml",
         R"(<Lightitems lightmode="1"><item light_mode="1" brightness="1"/></Lightitems>)"
         R"(<Mouse><button_respondtime value="3"/></Mouse>)",
         false, "NoLight", "", "3", "2", "4"},
        // With lighting, items for modes without a row are skipped.
        {"Light.xml",
         R"(<Lightitems lightmode="1"><item light_mode="1" brightness="1"/><item light_mode="9" brightness="2"/></Lightitems>)",
         true, "Light", "", "8", "2", "1"},
        // Elements out of order: keyitems is found after Mouse, and Mouse is then not looked
        // for before it.
        {"Order.xml",
         R"(<Mouse><report_rate value="4"/></Mouse><keyitems><item key_code="1" macro_type="1" macro_value="1"/></keyitems>)",
         true, "Order", "1,1,1,0,0,,;", "8", "2", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        db_.RenameProfile(1, u"before");
        db_.SetConfigValue(1, u"report_rate", u"2");
        db_.SetConfigValue(1, u"button_respondtime", u"8");
        const auto file = File(c.fileName);
        WriteFile(file, kDeclaration + "<profile><profileinfo name=\"ignored\">" + c.body +
                            "</profileinfo></profile>");
        ASSERT_EQ(ImportProfile(db_, 1, file, c.hasLighting), ExchangeResult::kOk);
        EXPECT_EQ(QueryOne(db_, "SELECT name FROM t_profile_data WHERE profile = 1"), c.expectName);
        EXPECT_EQ(Keys(1), c.expectKeys);
        EXPECT_EQ(Value(1, "button_respondtime"), c.expectRespond);
        EXPECT_EQ(Value(1, "report_rate"), c.expectRate);
        EXPECT_EQ(QueryOne(db_, "SELECT brightness FROM t_light_data WHERE mode = 1"),
                  c.expectLightBrightness);
    }
}

TEST_F(ProfileExchangeTest, WithoutProfileinfoTheRootsChildrenAreRead) {
    AddKey(1, 2, 1, 3, 0, u"old");
    const auto file = File("flat.xml");
    WriteFile(file,
              kDeclaration +
                  R"(<profile><Mouse_DPI dpi_flag="3"><DPI2 value="999"/></Mouse_DPI></profile>)");
    ASSERT_EQ(ImportProfile(db_, 1, file, true), ExchangeResult::kOk);
    EXPECT_EQ(QueryOne(db_, "SELECT name FROM t_profile_data WHERE profile = 1"), "flat");
    EXPECT_EQ(Keys(1), "");
    EXPECT_EQ(Value(1, "dpi_flag"), "3");
    EXPECT_EQ(Value(1, "dpi_index"), "");  // a missing attribute stores the empty text
    EXPECT_EQ(Value(1, "dpi_group1_value"), "999");
    EXPECT_EQ(Value(1, "dpi_group1_rgb"), "");
    EXPECT_EQ(Value(1, "dpi_group0_value"), "800");
}

TEST_F(ProfileExchangeTest, FilesFromOutsideThatAreRefusedChangeNothing) {
    AddKey(1, 2, 1, 3, 0, u"kept");
    AddLight(1, 1);
    std::string manyItems = "<profile><profileinfo><keyitems>";
    for (int i = 0; i <= ExchangeLimits::kMaxKeyItems; ++i) {
        manyItems +=
            "<item key_code=\"" + std::to_string(i) + "\" macro_type=\"1\" macro_value=\"1\"/>";
    }
    manyItems += "</keyitems></profileinfo></profile>";
    std::filesystem::create_directory(File("folder.xml"));
    const struct {
        const char* name;
        std::string bytes;  // not written when empty
        ExchangeResult expected;
    } cases[] = {
        {"missing.xml", "", ExchangeResult::kFileUnreadable},
        {"folder.xml", "", ExchangeResult::kFileUnreadable},
        {"empty.xml", " ", ExchangeResult::kNotWellFormed},
        {"binary.xml", std::string("\x00\xFF\xFE<profile>", 12), ExchangeResult::kNotWellFormed},
        {"unclosed.xml", "<profile><profileinfo></profile>", ExchangeResult::kNotWellFormed},
        {"two.xml", "<profile/><profile/>", ExchangeResult::kNotWellFormed},
        {"root.xml", "<macro><profileinfo/></macro>", ExchangeResult::kWrongRoot},
        {"many.xml", manyItems, ExchangeResult::kTooLarge},
        {"huge.xml", std::string(ExchangeLimits::kMaxFileBytes + 1, ' '),
         ExchangeResult::kTooLarge},
    };
    const std::string before = DumpDatabase(db_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty())
            WriteFile(File(c.name), c.bytes);
        std::u16string name = u"untouched";
        EXPECT_EQ(ImportProfile(db_, 1, File(c.name), true, &name), c.expected);
        EXPECT_EQ(name, u"untouched");
        EXPECT_EQ(DumpDatabase(db_), before);
    }
}

TEST_F(ProfileExchangeTest, AStoreFailureHalfWayUndoesTheWholeImport) {
    AddKey(1, 2, 1, 3, 0, u"kept");
    db_.Exec("DROP TABLE t_light_data");  // the lighting step will fail
    const auto file = File("Broken.xml");
    WriteFile(file, kDeclaration +
                        R"(<profile><profileinfo><keyitems/><Lightitems lightmode="1"/>)"
                        R"(<Mouse><report_rate value="8"/></Mouse></profileinfo></profile>)");
    const std::string before = DumpDatabase(db_);
    EXPECT_EQ(ImportProfile(db_, 1, file, true), ExchangeResult::kWriteFailed);
    EXPECT_EQ(DumpDatabase(db_), before);
    EXPECT_FALSE(db_.InTransaction());

    ConfigDatabase closed;
    EXPECT_EQ(ImportProfile(closed, 1, file, true), ExchangeResult::kWriteFailed);
}

TEST(ProfileNameFromFile, DropsTheLastFourCharacters) {
    EXPECT_EQ(ProfileNameFromFile("/x/y/Gaming.xml"), u"Gaming");
    EXPECT_EQ(ProfileNameFromFile("/x/Gaming.XML"), u"Gaming");
    EXPECT_EQ(ProfileNameFromFile("/x/Gaming"), u"Ga");
    EXPECT_EQ(ProfileNameFromFile("/x/abc"), u"");
    EXPECT_EQ(ProfileNameFromFile("/x/配置.xml"), u"配置");
    EXPECT_EQ(ProfileNameFromFile("/x/\xF0\x9F\x98\x80.xm"), u"");  // a pair is one character
    EXPECT_EQ(ProfileNameFromFile("/x/ab\xF0\x9F\x98\x80.xml"), u"ab\U0001F600");
}

}  // namespace
}  // namespace cursorial
