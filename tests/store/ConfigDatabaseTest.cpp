// The configuration store: file location, creation and schema, and every record operation,
// checked with SQL against the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "StoreTestSupport.h"
#include "common/text/WideText.h"
#include "store/ConfigDatabase.h"
#include "store/StoreSchema.h"

namespace cursorial {
namespace {

using test::Query;
using test::QueryOne;
using test::Rows;
using test::ScratchFolder;

class ConfigDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db_.OpenForDevice(folder_.path(), u"AERO")); }

    std::string Count(const std::string& table, const std::string& where = "1") {
        return QueryOne(db_, "SELECT count(*) FROM " + table + " WHERE " + where);
    }

    ScratchFolder folder_;
    ConfigDatabase db_;
};

// SQLite keeps the CREATE text in sqlite_master without "IF NOT EXISTS".
std::string StoredForm(std::string statement) {
    const std::string clause = "IF NOT EXISTS ";
    statement.erase(statement.find(clause), clause.size());
    return statement;
}

TEST_F(ConfigDatabaseTest, NewFileHoldsTheSchemaTextByteForByte) {
    EXPECT_TRUE(db_.IsOpened());
    EXPECT_EQ(db_.Path(), (folder_.path() / "db" / "AERO_data1.db").string());
    const Rows rows =
        Query(db_, "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid");
    std::vector<std::string> stored;
    for (const auto& row : rows) {
        if (row[0].find("sqlite_sequence") == std::string::npos)
            stored.push_back(row[0]);
    }
    ASSERT_EQ(stored.size(), kSchemaStatements.size());
    // Tabs and length of each statement: an editor or formatter that touches the runs of tabs
    // changes what every new file stores.
    const std::pair<size_t, size_t> shapes[] = {
        {8, 133}, {8, 145}, {0, 66}, {16, 296}, {0, 63}, {8, 142}, {0, 71}, {8, 184},
        {0, 65},  {8, 195}, {0, 71}, {50, 476}, {0, 63}, {8, 171}, {0, 73},
    };
    for (size_t i = 0; i < stored.size(); ++i) {
        const std::string statement = kSchemaStatements[i];
        EXPECT_EQ(std::count(statement.begin(), statement.end(), '\t'), shapes[i].first)
            << "statement " << i + 1;
        EXPECT_EQ(statement.size(), shapes[i].second) << "statement " << i + 1;
        EXPECT_EQ(stored[i], StoredForm(statement)) << "statement " << i + 1;
    }
    EXPECT_EQ(Count("sqlite_master", "name = 'sqlite_sequence'"), "1");
    EXPECT_EQ(QueryOne(db_, "PRAGMA synchronous"), "0");
}

TEST_F(ConfigDatabaseTest, ModelsKeepTheirFilesAndAMissingTableComesBack) {
    ProfileRecord profile;
    profile.name = u"Mine";
    ASSERT_EQ(db_.AddProfile(profile), 1);
    ASSERT_EQ(db_.Exec("DROP TABLE t_key_light_data"), 0);

    // Another model, then an unknown one ("_data1.db"), then back: the first file comes back
    // with its data, and the table it lost is there again.
    ASSERT_TRUE(db_.OpenForDevice(folder_.path(), u"TERRA"));
    EXPECT_EQ(Count("t_profile_data"), "0");
    ASSERT_TRUE(db_.OpenForDevice(folder_.path(), u""));
    EXPECT_TRUE(std::filesystem::exists(folder_.path() / "db" / "_data1.db"));
    ASSERT_TRUE(db_.OpenForDevice(folder_.path(), u"AERO"));
    EXPECT_EQ(QueryOne(db_, "SELECT name FROM t_profile_data"), "Mine");
    EXPECT_EQ(Count("sqlite_master", "name = 't_key_light_data'"), "1");
    EXPECT_EQ(QueryOne(db_, "PRAGMA synchronous"), "0");
}

// What a crash or an older program may leave: a file without tables (empty, or some of them),
// is completed on open; the tables that exist keep their rows and their stored statements.
TEST(ConfigDatabase, AnIncompleteFileIsCompletedOnOpen) {
    const struct {
        const char* name;
        const char* setup;  // run on the file before the store opens it
    } cases[] = {
        {"empty file", nullptr},
        {"a table only",
         "CREATE TABLE t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
         "name TEXT, status INTEGER, app TEXT, type INTEGER); INSERT INTO "
         "t_profile_data(name, status, app, type) VALUES ('Old', 1, '', 0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const auto path = ConfigDatabase::DatabasePath(folder.path(), u"AERO");
        {
            SQLiteDB raw;
            ASSERT_TRUE(raw.Open(path.string(), ConfigDatabase::kOpenCreate));
            if (c.setup) {
                ASSERT_EQ(raw.Exec(c.setup), 0);
            }
        }
        ASSERT_TRUE(std::filesystem::exists(path));
        ConfigDatabase db;
        ASSERT_TRUE(db.OpenForDevice(folder.path(), u"AERO"));
        EXPECT_EQ(QueryOne(db,
                           "SELECT count(*) FROM sqlite_master WHERE type IN ('table', "
                           "'index') AND name NOT LIKE 'sqlite_%'"),
                  "15");
        EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t_profile_data"), c.setup ? "1" : "0");
        EXPECT_EQ(QueryOne(db, "PRAGMA integrity_check"), "ok");
    }
}

// A file that cannot be completed is never used: the store stays closed and says why.
TEST(ConfigDatabase, AFileThatIsNotADatabaseIsNotUsed) {
    ScratchFolder folder;
    const auto path = ConfigDatabase::DatabasePath(folder.path(), u"AERO");
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(4096, 'x');
    }
    ConfigDatabase db;
    EXPECT_FALSE(db.OpenForDevice(folder.path(), u"AERO"));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.OpenStatus(), StoreStatus::kFailed);
    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(db.GetProfiles(profiles), StoreStatus::kFailed);
}

// The open step runs in the same transaction as the schema: when it fails, the new file holds
// nothing, and the next open starts again from there.
TEST(ConfigDatabase, AFailedOpenStepLeavesTheNewFileEmpty) {
    ScratchFolder folder;
    ConfigDatabase db;
    EXPECT_FALSE(db.OpenForDevice(folder.path(), u"AERO", [](ConfigDatabase& store) {
        ProfileRecord record;
        EXPECT_EQ(store.AddProfile(record), 1);
        return StoreStatus::kFailed;
    }));
    EXPECT_EQ(db.OpenStatus(), StoreStatus::kFailed);
    EXPECT_FALSE(db.IsOpen());
    SQLiteDB raw;
    ASSERT_TRUE(raw.Open(ConfigDatabase::DatabasePath(folder.path(), u"AERO").string(),
                         ConfigDatabase::kOpenExisting));
    EXPECT_EQ(QueryOne(raw, "SELECT count(*) FROM sqlite_master"), "0");

    int calls = 0;
    EXPECT_TRUE(db.OpenForDevice(folder.path(), u"AERO", [&](ConfigDatabase&) {
        ++calls;
        return StoreStatus::kOk;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(db.OpenStatus(), StoreStatus::kOk);
}

TEST(ConfigDatabase, MissingDbFolderLeavesTheStoreClosed) {
    ScratchFolder folder;
    std::filesystem::remove_all(folder.path() / "db");
    ConfigDatabase db;
    EXPECT_FALSE(db.OpenForDevice(folder.path(), u"AERO"));
    EXPECT_FALSE(db.IsOpened());
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.OpenStatus(), StoreStatus::kFailed);
    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(db.GetProfiles(profiles), StoreStatus::kFailed);
}

// Another connection holds the file for a moment while it is opened: the open waits for it
// once, and the file still runs with synchronous OFF.
TEST(ConfigDatabase, AnOpenThatMeetsALockWaitsAndKeepsItsSettings) {
    ScratchFolder folder;
    {
        ConfigDatabase first;
        ASSERT_TRUE(first.OpenForDevice(folder.path(), u"AERO"));
    }
    SQLiteDB holder;
    ASSERT_TRUE(holder.Open(ConfigDatabase::DatabasePath(folder.path(), u"AERO").string(),
                            ConfigDatabase::kOpenExisting));
    ASSERT_EQ(holder.Exec("BEGIN EXCLUSIVE"), 0);
    std::thread release([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        holder.Exec("COMMIT");
    });
    ConfigDatabase db;
    const bool opened = db.OpenForDevice(folder.path(), u"AERO");
    release.join();
    ASSERT_TRUE(opened);
    EXPECT_EQ(QueryOne(db, "PRAGMA synchronous"), "0");
}

TEST(ConfigDatabase, InstanceIsOneObject) {
    EXPECT_EQ(&ConfigDatabase::Instance(), &ConfigDatabase::Instance());
}

TEST_F(ConfigDatabaseTest, NewProfileGetsFortyDefaultRowsInOrder) {
    ProfileRecord record;
    record.name = u"Profile 1";
    record.app = u"ignored?";
    record.status = 1;  // AddProfile always stores 0
    record.type = 9;    // and 0
    ASSERT_EQ(db_.AddProfile(record), 1);
    EXPECT_EQ(Query(db_, "SELECT name, status, app, type FROM t_profile_data"),
              (Rows{{"Profile 1", "0", "ignored?", "0"}}));

    const Rows rows = Query(db_,
                            "SELECT key, value FROM t_configdata WHERE profile = 1 "
                            "ORDER BY config_id");
    ASSERT_EQ(rows.size(), kDefaultSettings.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], kDefaultSettings[i].key);
        EXPECT_EQ(rows[i][1], kDefaultSettings[i].value);
    }
    std::u16string value;
    const std::vector<std::pair<std::u16string, std::u16string>> samples = {
        {u"version", u"1.0.1"},
        {u"lightmode", u"3"},
        {u"dpi_group5_value", u"26000"},
        {u"dpi_group8_rgb", u"2139135"},
    };
    for (const auto& [key, expected] : samples) {
        EXPECT_TRUE(db_.GetConfigValue(1, key, value));
        EXPECT_EQ(value, expected);
    }
    EXPECT_EQ(Count("t_configdata", "key = 'wheel_scrollflag'"), "1");
}

TEST_F(ConfigDatabaseTest, SettingsAreOnlyEverUpdated) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    std::u16string value = u"stale";
    EXPECT_TRUE(db_.SetConfigValue(1, u"report_rate", u"8"));
    EXPECT_TRUE(db_.GetConfigValue(1, u"report_rate", value));
    EXPECT_EQ(value, u"8");

    // Unknown key or profile: success is reported, nothing is stored.
    EXPECT_TRUE(db_.SetConfigValue(1, u"no_such_key", u"1"));
    EXPECT_TRUE(db_.SetConfigValue(7, u"report_rate", u"1"));
    EXPECT_FALSE(db_.GetConfigValue(1, u"no_such_key", value));
    EXPECT_TRUE(value.empty());
    EXPECT_FALSE(db_.GetConfigValue(7, u"report_rate", value));
    EXPECT_EQ(Count("t_configdata"), "40");
}

TEST_F(ConfigDatabaseTest, ProfileListNamesAndActiveProfile) {
    for (const char16_t* name : {u"A", u"B", u"C", u"D"}) {
        ProfileRecord record;
        record.name = name;
        db_.AddProfile(record);
    }
    std::vector<ProfileRecord> profiles(3);  // stale contents are replaced
    EXPECT_EQ(db_.GetProfiles(profiles), StoreStatus::kOk);
    EXPECT_EQ(db_.GetProfiles(profiles), StoreStatus::kOk);
    ASSERT_EQ(profiles.size(), 4u);
    EXPECT_EQ(profiles[2].id, 3);
    EXPECT_EQ(profiles[2].name, u"C");

    int active = -1;
    EXPECT_EQ(db_.GetActiveProfile(active), StoreStatus::kOk);
    EXPECT_EQ(active, 0);
    EXPECT_TRUE(db_.SetActiveProfile(2));
    EXPECT_TRUE(db_.SetActiveProfile(3));
    EXPECT_EQ(db_.GetActiveProfile(active), StoreStatus::kOk);
    EXPECT_EQ(active, 3);
    EXPECT_EQ(Query(db_, "SELECT profile FROM t_profile_data WHERE status = 1"), (Rows{{"3"}}));
    // A profile that does not exist: refused, and the active one stays.
    EXPECT_FALSE(db_.SetActiveProfile(9));
    EXPECT_EQ(Query(db_, "SELECT profile FROM t_profile_data WHERE status = 1"), (Rows{{"3"}}));
    EXPECT_FALSE(db_.InTransaction());

    // An id asked for is the id given.
    ProfileRecord seventh;
    seventh.id = 7;
    EXPECT_EQ(db_.AddProfile(seventh), 7);
    EXPECT_EQ(Count("t_configdata", "profile = 7"), "40");

    std::u16string name = u"stale";
    EXPECT_TRUE(db_.RenameProfile(2, u""));
    EXPECT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, u"");
    EXPECT_TRUE(db_.RenameProfile(2, u"配置 2"));
    EXPECT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, u"配置 2");
    EXPECT_FALSE(db_.GetProfileName(9, name));
}

TEST_F(ConfigDatabaseTest, KeyAssignmentsKeepOnlyChangedButtons) {
    KeyAssignment record;
    record.profile = 1;
    record.keyCode = 3;
    record.type = 2;
    record.value = 0;
    record.value2 = 0x02;  // modifier only: still stored
    record.description = u"Shift";
    const int first = db_.SaveKeyAssignment(record);
    EXPECT_GT(first, 0);
    record.value = 4;
    EXPECT_GT(db_.SaveKeyAssignment(record), first);
    EXPECT_EQ(Count("t_key_macro_data", "key_code = 3"), "1");

    KeyAssignment read;
    ASSERT_TRUE(db_.GetKeyAssignment(1, 3, read));
    record.keyId = read.keyId;
    EXPECT_EQ(read, record);

    EXPECT_TRUE(db_.SetKeyDescription(1, 3, u"Macro name"));
    ASSERT_TRUE(db_.GetKeyAssignment(1, 3, read));
    EXPECT_EQ(read.description, u"Macro name");

    // Type 1 with both values 0: the row goes, the button is on its default again.
    KeyAssignment back;
    back.profile = 1;
    back.keyCode = 3;
    back.type = 1;
    EXPECT_EQ(db_.SaveKeyAssignment(back), 0);
    EXPECT_FALSE(db_.GetKeyAssignment(1, 3, read));

    for (int key : {0, 1, 5}) {
        KeyAssignment other;
        other.profile = key == 5 ? 2 : 1;
        other.keyCode = key;
        other.type = 1;
        other.value = 1;
        db_.SaveKeyAssignment(other);
    }
    std::vector<KeyAssignment> list(5);
    EXPECT_EQ(db_.ListKeyAssignments(1, list), 2);
    EXPECT_TRUE(db_.DeleteKeyAssignments(1));
    EXPECT_EQ(db_.ListKeyAssignments(1, list), 0);
    EXPECT_EQ(db_.ListKeyAssignments(2, list), 1);
}

TEST_F(ConfigDatabaseTest, MacrosAndTheirEvents) {
    const int id = db_.AddMacro(u"Custom 1");
    ASSERT_GT(id, 0);
    Macro macro;
    ASSERT_TRUE(db_.GetMacro(id, macro));
    EXPECT_EQ(macro, (Macro{id, u"Custom 1", 0, 1, 1, 0}));

    EXPECT_TRUE(db_.UpdateMacro(id, Macro{0, u"Renamed", 1, 5, 2, 30}));
    EXPECT_TRUE(db_.RenameMacro(id, u"Again"));
    ASSERT_TRUE(db_.GetMacro(id, macro));
    EXPECT_EQ(macro, (Macro{id, u"Again", 1, 5, 2, 30}));

    // Inserted out of order, listed by position.
    std::vector<MacroEvent> events;
    for (int position : {2, 0, 3, 1}) {
        events.push_back(MacroEvent{0, id, kMacroEventKeyDown, position, 65 + position, 100,
                                    u"↓  " + std::u16string(1, char16_t(u'A' + position))});
    }
    db_.AddMacroEvents(events);
    EXPECT_GT(db_.AddMacroEvent(MacroEvent{0, id, kMacroEventDelay, -1, 10, 101, u"10 ms"}), 0);
    std::vector<MacroEvent> listed;
    ASSERT_EQ(db_.ListMacroEvents(id, listed), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(listed[i].position, i - 1);
    EXPECT_EQ(listed[1].description, u"↓  A");
    EXPECT_EQ(listed[1].value, 65);
    EXPECT_EQ(listed[1].timestamp, 100);
    EXPECT_EQ(listed[1].kind, kMacroEventKeyDown);

    const int other = db_.AddMacro(u"Other");
    db_.AddMacroEvent(MacroEvent{0, other, kMacroEventDelay, 0, 10, 1, u"10 ms"});
    std::vector<Macro> macros;
    EXPECT_EQ(db_.ListMacros(macros), 2);

    EXPECT_TRUE(db_.DeleteMacro(id));
    EXPECT_FALSE(db_.GetMacro(id, macro));
    EXPECT_EQ(Count("t_macrorecord", "macro_id = " + std::to_string(id)), "0");
    EXPECT_EQ(Count("t_macrorecord"), "1");
    EXPECT_TRUE(db_.DeleteMacroEvents(other));
    EXPECT_EQ(Count("t_macrorecord"), "0");
}

TEST_F(ConfigDatabaseTest, LightingRowsAndTheActiveMode) {
    for (int mode : {1, 2, 3, 0}) {
        LightSetting row;
        row.profile = 1;
        row.name = u"常亮";
        row.mode = mode;
        row.brightness = 4;
        row.speed = 2;
        row.colors = {0xFF, 0xFF00, 0xFF0000, 0xFFFF00, 0xFFFF, 0xFF00FF, 0xFFFFFF};
        row.configFunc = 3;
        row.reserved = 280 + mode;
        ASSERT_GT(db_.AddLightSetting(row), 0);
    }
    int count = 0;
    EXPECT_EQ(db_.CountLightSettings(1, count), StoreStatus::kOk);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(db_.GetActiveLightMode(1), 0);
    EXPECT_TRUE(db_.SetActiveLightMode(1, 1));
    EXPECT_TRUE(db_.SetActiveLightMode(1, 3));
    EXPECT_EQ(db_.GetActiveLightMode(1), 3);
    EXPECT_EQ(Count("t_light_data", "status = 1"), "1");

    LightSetting row;
    ASSERT_TRUE(db_.GetLightSetting(1, 2, row));
    EXPECT_EQ(row.name, u"常亮");
    EXPECT_EQ(row.colors[2], 0xFF0000);
    EXPECT_EQ(row.reserved, 282);
    LightSetting changed = row;
    changed.brightness = 1;
    changed.colors[6] = 5;
    changed.name = u"ignored";
    changed.status = 1;
    EXPECT_TRUE(db_.UpdateLightSetting(2, changed));
    ASSERT_TRUE(db_.GetLightSetting(1, 2, row));
    EXPECT_EQ(row.brightness, 1);
    EXPECT_EQ(row.colors[6], 5);
    EXPECT_EQ(row.name, u"常亮");
    EXPECT_EQ(row.status, 0);

    // A mode without a row: success, and nothing changes.
    const std::string before = QueryOne(db_, "SELECT group_concat(brightness) FROM t_light_data");
    EXPECT_TRUE(db_.UpdateLightSetting(5, changed));
    EXPECT_EQ(QueryOne(db_, "SELECT group_concat(brightness) FROM t_light_data"), before);

    std::vector<LightSetting> rows;
    EXPECT_EQ(db_.ListLightSettings(1, rows), 4);
    EXPECT_TRUE(db_.DeleteLightSettings(1));
    EXPECT_EQ(db_.CountLightSettings(1, count), StoreStatus::kOk);
    EXPECT_EQ(count, 0);
}

TEST(ConfigDatabase, ClosedStoreFindsNothingAndWritesNothing) {
    ConfigDatabase db;
    std::u16string text = u"stale";
    KeyAssignment key;
    key.value = 1;
    Macro macro;
    LightSetting light;
    std::vector<ProfileRecord> profiles(1);
    std::vector<KeyAssignment> keys(1);
    std::vector<Macro> macros(1);
    std::vector<MacroEvent> events(1);
    std::vector<LightSetting> lights(1);

    EXPECT_FALSE(db.GetConfigValue(1, u"report_rate", text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(db.SetConfigValue(1, u"report_rate", u"1"));
    EXPECT_EQ(db.AddProfile({}), 0);
    EXPECT_FALSE(db.RenameProfile(1, u"x"));
    text = u"stale";
    EXPECT_FALSE(db.GetProfileName(1, text));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(db.GetProfiles(profiles), StoreStatus::kFailed);
    EXPECT_TRUE(profiles.empty());
    EXPECT_FALSE(db.SetActiveProfile(1));
    int active = -1;
    EXPECT_EQ(db.GetActiveProfile(active), StoreStatus::kFailed);
    EXPECT_EQ(active, 0);

    EXPECT_EQ(db.SaveKeyAssignment(key), 0);
    EXPECT_FALSE(db.GetKeyAssignment(1, 0, key));
    EXPECT_EQ(db.ListKeyAssignments(1, keys), 0);
    EXPECT_FALSE(db.SetKeyDescription(1, 0, u"x"));
    EXPECT_FALSE(db.DeleteKeyAssignments(1));

    EXPECT_EQ(db.AddMacro(u"x"), 0);
    EXPECT_EQ(db.InsertMacro(macro), 0);
    EXPECT_FALSE(db.RenameMacro(1, u"x"));
    EXPECT_FALSE(db.UpdateMacro(1, macro));
    EXPECT_FALSE(db.DeleteMacro(1));
    EXPECT_FALSE(db.GetMacro(1, macro));
    EXPECT_EQ(db.ListMacros(macros), 0);
    EXPECT_EQ(db.AddMacroEvent({}), 0);
    EXPECT_FALSE(db.AddMacroEvents(events));
    EXPECT_EQ(db.ListMacroEvents(1, events), 0);
    EXPECT_FALSE(db.DeleteMacroEvents(1));

    int count = -1;
    EXPECT_EQ(db.CountLightSettings(1, count), StoreStatus::kFailed);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(db.AddLightSetting(light), 0);
    EXPECT_FALSE(db.UpdateLightSetting(1, light));
    EXPECT_FALSE(db.SetActiveLightMode(1, 1));
    EXPECT_EQ(db.GetActiveLightMode(1), 0);
    EXPECT_FALSE(db.GetLightSetting(1, 1, light));
    EXPECT_EQ(db.ListLightSettings(1, lights), 0);
    EXPECT_FALSE(db.DeleteLightSettings(1));
}

}  // namespace
}  // namespace cursorial
