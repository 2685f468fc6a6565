// Creating the profile set, the names shown for profiles, and the description's defaults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExchangeTestSupport.h"
#include "exchange/ProfileManager.h"
#include "store/StoreSchema.h"

namespace cursorial {
namespace {

using test::Query;
using test::QueryOne;
using test::Rows;
using test::WriteFile;

// Stages 1 to 4 only, so stages 4 and 5 keep the seeded values.
constexpr std::string_view kDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <mouse_info>
    <dpi_info default_dpi="2" dpi_count="4">
      <dpi_1 value="400" color="#FF0000"/>
      <dpi_2 value="800" color="#00FF00"/>
      <dpi_3 value="1600" color="#0000FF"/>
      <dpi_4 value="3200" color="FF0000"/>
    </dpi_info>
    <report_rate default_value="1"/>
    <sleep_light value="60"/>
    <move_wakeup value="0"/>
    <move_closelight value="0"/>
    <lod value="2"/>
    <button_respondtime value="4"/>
  </mouse_info>
</mouse>
)";

class ProfileManagerTest : public test::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        description_ = File("MODEL.xml");
        WriteFile(description_, kDescription);
    }

    std::string Value(int profile, const std::string& key) {
        return QueryOne(db_, "SELECT value FROM t_configdata WHERE profile = " +
                                 std::to_string(profile) + " AND key = '" + key + "'");
    }

    std::filesystem::path description_;
};

TEST_F(ProfileManagerTest, NewDatabaseGetsFourProfilesWithTheDescriptionsDefaults) {
    const EnsureProfilesResult result = EnsureProfiles(db_, u"Profile", description_);
    EXPECT_TRUE(result.created);
    EXPECT_EQ(result.currentProfile, 1);
    EXPECT_EQ(result.highestReportRate, 1);
    EXPECT_EQ(Query(db_, "SELECT profile, name, status FROM t_profile_data"),
              (Rows{{"1", "Profile 1", "1"},
                    {"2", "Profile 2", "0"},
                    {"3", "Profile 3", "0"},
                    {"4", "Profile 4", "0"}}));
    for (int profile = 1; profile <= 4; ++profile) {
        EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_configdata WHERE profile = " +
                                    std::to_string(profile)),
                  "40");
        // Overwritten by the description ...
        EXPECT_EQ(Value(profile, "dpi_index"), "2");
        EXPECT_EQ(Value(profile, "dpi_flag"), "4");
        EXPECT_EQ(Value(profile, "dpi_count"), "4");
        EXPECT_EQ(Value(profile, "dpi_group0_value"), "400");
        EXPECT_EQ(Value(profile, "dpi_group0_rgb"), "255");
        EXPECT_EQ(Value(profile, "dpi_group2_rgb"), "16711680");
        EXPECT_EQ(Value(profile, "dpi_group3_rgb"), "240");
        EXPECT_EQ(Value(profile, "report_rate"), "1");
        EXPECT_EQ(Value(profile, "sleep_light"), "60");
        EXPECT_EQ(Value(profile, "move_wakeup"), "0");
        EXPECT_EQ(Value(profile, "liftoff_height"), "2");
        EXPECT_EQ(Value(profile, "button_respondtime"), "4");
        // ... and seeded values the description does not name.
        EXPECT_EQ(Value(profile, "dpi_group4_value"), "6400");
        EXPECT_EQ(Value(profile, "dpi_group5_rgb"), "16776960");
        EXPECT_EQ(Value(profile, "report_rate_wireless"), "1");
        EXPECT_EQ(Value(profile, "version"), "1.0.1");
    }

    // Loading again creates nothing; a database without an active profile gets profile 1.
    db_.Exec("UPDATE t_profile_data SET status = 0");
    const EnsureProfilesResult again = EnsureProfiles(db_, u"Profile", description_);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(again.currentProfile, 1);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_profile_data"), "4");
    db_.SetActiveProfile(3);
    EXPECT_EQ(EnsureProfiles(db_, u"Profile", description_).currentProfile, 3);
}

TEST_F(ProfileManagerTest, MissingDescriptionStillCreatesTheSeededProfiles) {
    const EnsureProfilesResult result = EnsureProfiles(db_, u"配置", File("none.xml"));
    EXPECT_EQ(result.currentProfile, 1);
    EXPECT_FALSE(result.highestReportRate);
    EXPECT_EQ(QueryOne(db_, "SELECT name FROM t_profile_data WHERE profile = 4"), "配置 4");
    EXPECT_EQ(Value(2, "dpi_group0_value"), "800");
}

TEST(ProfileDisplayName, LocalisesTheTwoBuiltInPrefixes) {
    const struct {
        std::u16string stored;
        std::u16string shown;
    } cases[] = {
        {u"Profile 1", u"Word  1"},  // the rest keeps its leading space
        {u"配置2", u"Word 2"},        {u"Profile", u"Word "},         {u"Profil 1", u"Profil 1"},
        {u"profile 1", u"profile 1"}, {u"My Profile", u"My Profile"}, {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileDisplayName(c.stored, u"Word"), c.shown);
    }
    EXPECT_EQ(NewProfileName(u"Word", 3), u"Word 3");
}

TEST_F(ProfileManagerTest, DpiOnlyDefaultsAndTheReportRateRestore) {
    ProfileRecord record;
    ASSERT_EQ(db_.AddProfile(record), 1);
    db_.SetConfigValue(1, u"report_rate", u"8");
    const DefaultsResult dpi = ApplyDescriptionDefaults(db_, description_, 1, true);
    EXPECT_EQ(dpi.status, DataFileStatus::kOk);
    EXPECT_FALSE(dpi.highestReportRate);
    EXPECT_EQ(Value(1, "dpi_group1_value"), "800");
    EXPECT_EQ(Value(1, "report_rate"), "8");
    EXPECT_EQ(Value(1, "sleep_light"), "1");

    int level = 0;
    db_.SetConfigValue(1, u"report_rate_wireless", u"8");
    EXPECT_EQ(RestoreDefaultReportRate(db_, description_, 1, level), DataFileStatus::kOk);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(Value(1, "report_rate"), "1");
    EXPECT_EQ(Value(1, "report_rate_wireless"), "1");

    db_.SetConfigValue(1, u"report_rate", u"8");
    level = 77;
    EXPECT_EQ(RestoreDefaultReportRate(db_, File("none.xml"), 1, level), DataFileStatus::kMissing);
    EXPECT_EQ(level, 77);
    EXPECT_EQ(Value(1, "report_rate"), "8");
}

TEST_F(ProfileManagerTest, ResetClearsButtonsAndLightingOfEveryProfile) {
    EnsureProfiles(db_, u"Profile", description_);
    db_.SetActiveProfile(3);
    for (int profile = 1; profile <= 5; ++profile) {
        KeyAssignment key;
        key.profile = profile;
        key.type = 1;
        key.value = 2;
        db_.SaveKeyAssignment(key);
        LightSetting light;
        light.profile = profile;
        db_.AddLightSetting(light);
        db_.SetConfigValue(profile, u"dpi_group0_value", u"123");
        db_.SetConfigValue(profile, u"sensor_flag", u"1");
    }
    const EnsureProfilesResult result = ResetProfiles(db_, u"Profile", description_, true);
    EXPECT_EQ(result.currentProfile, 1);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_key_macro_data"), "0");
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_light_data"), "0");
    EXPECT_EQ(Value(4, "dpi_group0_value"), "400");
    EXPECT_EQ(Value(4, "sensor_flag"), "1");  // not a description default: kept
    EXPECT_EQ(db_.GetActiveProfile(), 3);     // the stored active profile stays

    LightSetting light;
    light.profile = 1;
    db_.AddLightSetting(light);
    ResetProfiles(db_, u"Profile", description_, false);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_light_data"), "1");
}

}  // namespace
}  // namespace cursorial
