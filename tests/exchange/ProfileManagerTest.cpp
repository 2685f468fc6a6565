// Creating the profile set, the names shown for profiles, and the description's defaults.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ExchangeTestSupport.h"
#include "exchange/LightingRows.h"
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

// What an older program killed while it created the profiles left behind: profile 1 complete
// and changed by the user since, profile 2 with part of its settings, profiles 3 and 4 missing.
// The next load completes the set without touching what was there.
TEST_F(ProfileManagerTest, AHalfCreatedProfileSetIsCompleted) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    ASSERT_EQ(db_.AddProfile({}), 2);
    db_.SetConfigValue(1, u"dpi_group0_value", u"123");
    db_.SetConfigValue(2, u"sleep_light", u"7");
    // Profile 2 keeps its first 17 keys (up to liftoff_height), the DPI rows are gone.
    ASSERT_EQ(db_.Exec("DELETE FROM t_configdata WHERE profile = 2 AND config_id > 57"), 0);
    ASSERT_EQ(QueryOne(db_, "SELECT count(*) FROM t_configdata WHERE profile = 2"), "17");

    const EnsureProfilesResult result = EnsureProfiles(db_, u"Profile", description_);
    EXPECT_EQ(result.status, StoreStatus::kOk);
    EXPECT_FALSE(result.created);
    EXPECT_TRUE(result.repaired);
    EXPECT_EQ(result.currentProfile, 1);
    EXPECT_EQ(
        Query(db_, "SELECT profile, name, status FROM t_profile_data"),
        (Rows{{"1", "", "1"}, {"2", "", "0"}, {"3", "Profile 3", "0"}, {"4", "Profile 4", "0"}}));
    EXPECT_EQ(Query(db_,
                    "SELECT profile, count(*), count(DISTINCT key) FROM t_configdata "
                    "GROUP BY profile"),
              (Rows{{"1", "40", "40"}, {"2", "40", "40"}, {"3", "40", "40"}, {"4", "40", "40"}}));
    // Kept: the rows that were there. The added rows of profile 2 get the description's values.
    EXPECT_EQ(Value(1, "dpi_group0_value"), "123");
    EXPECT_EQ(Value(1, "sleep_light"), "1");
    EXPECT_EQ(Value(2, "sleep_light"), "7");
    EXPECT_EQ(Value(2, "dpi_group0_value"), "400");
    EXPECT_EQ(Value(2, "dpi_group5_value"), "26000");  // seeded; the description has no stage 6
    EXPECT_EQ(Value(3, "dpi_group0_value"), "400");

    const EnsureProfilesResult again = EnsureProfiles(db_, u"Profile", description_);
    EXPECT_FALSE(again.repaired);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_configdata"), "160");
}

// Another connection holds the file's write lock past the busy timeout: the profile set is not
// taken for empty, nothing is created, and the caller is told.
TEST_F(ProfileManagerTest, ABusyDatabaseIsAFailureNotAnEmptyOne) {
    ConfigDatabase other;
    other.SetBusyTimeout(20);
    ASSERT_TRUE(other.OpenForDevice(folder_.path(), u"AERO"));
    SQLiteDB holder;
    ASSERT_TRUE(holder.Open(db_.Path(), ConfigDatabase::kOpenExisting));
    ASSERT_EQ(holder.Exec("BEGIN EXCLUSIVE"), 0);

    const EnsureProfilesResult busy = EnsureProfiles(other, u"Profile", description_);
    EXPECT_EQ(busy.status, StoreStatus::kBusy);
    EXPECT_EQ(busy.currentProfile, 0);
    EXPECT_FALSE(busy.created);
    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(other.GetProfiles(profiles), StoreStatus::kBusy);
    int active = -1;
    EXPECT_EQ(other.GetActiveProfile(active), StoreStatus::kBusy);
    EXPECT_FALSE(ActivateProfile(other, 1));
    EXPECT_EQ(ResetProfiles(other, u"Profile", description_, true).status, StoreStatus::kBusy);
    EXPECT_EQ(ApplyDescriptionDefaults(other, description_, 1, false).store, StoreStatus::kBusy);
    EXPECT_EQ(OpenProfileStore(other, folder_.path(), u"AERO", u"Profile", description_).status,
              StoreStatus::kBusy);
    EXPECT_FALSE(other.IsOpened());

    ASSERT_EQ(holder.Exec("COMMIT"), 0);
    const EnsureProfilesResult opened =
        OpenProfileStore(other, folder_.path(), u"AERO", u"Profile", description_);
    EXPECT_EQ(opened.status, StoreStatus::kOk);
    EXPECT_TRUE(opened.created);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_profile_data"), "4");
}

// The program and cursorialctl starting together on an empty folder, as threads with their own
// connections: the profile set is created once.
TEST_F(ProfileManagerTest, ConnectionsStartingTogetherCreateFourProfilesOnce) {
    test::ScratchFolder empty;
    constexpr int kConnections = 4;
    std::vector<EnsureProfilesResult> results(kConnections);
    std::vector<std::thread> threads;
    for (int i = 0; i < kConnections; ++i) {
        threads.emplace_back([&, i] {
            ConfigDatabase db;
            results[i] = OpenProfileStore(db, empty.path(), u"AERO", u"Profile", description_);
        });
    }
    for (std::thread& t : threads)
        t.join();
    int created = 0;
    for (const EnsureProfilesResult& r : results) {
        EXPECT_EQ(r.status, StoreStatus::kOk);
        EXPECT_EQ(r.currentProfile, 1);
        created += r.created ? 1 : 0;
    }
    EXPECT_EQ(created, 1);
    ConfigDatabase check;
    ASSERT_TRUE(check.OpenForDevice(empty.path(), u"AERO"));
    EXPECT_EQ(Query(check, "SELECT profile, count(*) FROM t_configdata GROUP BY profile"),
              (Rows{{"1", "40"}, {"2", "40"}, {"3", "40"}, {"4", "40"}}));
    EXPECT_EQ(QueryOne(check, "SELECT count(*) FROM t_profile_data"), "4");
}

// A reader on its own connection while another switches profiles: it always finds exactly one
// active profile, and lighting rows made by two connections at once are made once.
TEST_F(ProfileManagerTest, ReadersNeverSeeAHalfDoneSwitchAndLightingRowsAreMadeOnce) {
    ASSERT_EQ(EnsureProfiles(db_, u"Profile", description_).status, StoreStatus::kOk);
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        ConfigDatabase db;
        if (!db.OpenForDevice(folder_.path(), u"AERO")) {
            ++bad;
            return;
        }
        while (!stop) {
            int active = 0;
            const StoreStatus status = db.GetActiveProfile(active);
            if (status != StoreStatus::kOk || active < 1 || active > 4)
                ++bad;
        }
    });
    for (int round = 0; round < 200; ++round)
        EXPECT_TRUE(ActivateProfile(db_, round % 4 + 1));
    stop = true;
    reader.join();
    EXPECT_EQ(bad.load(), 0);

    LightEffectSet all;
    all.fill(true);
    std::vector<int> added(3);
    std::vector<std::thread> threads;
    for (int i = 0; i < 3; ++i) {
        threads.emplace_back([&, i] {
            ConfigDatabase db;
            db.OpenForDevice(folder_.path(), u"AERO");
            for (int profile = 1; profile <= 4; ++profile)
                added[i] += EnsureLightSettings(db, profile, all);
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(added[0] + added[1] + added[2], 24);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_light_data"), "24");
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_light_data WHERE status = 1"), "4");
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
    int active = 0;
    EXPECT_EQ(db_.GetActiveProfile(active), StoreStatus::kOk);
    EXPECT_EQ(active, 3);  // the stored active profile stays

    LightSetting light;
    light.profile = 1;
    db_.AddLightSetting(light);
    ResetProfiles(db_, u"Profile", description_, false);
    EXPECT_EQ(QueryOne(db_, "SELECT count(*) FROM t_light_data"), "1");
}

}  // namespace
}  // namespace cursorial
