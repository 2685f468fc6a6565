#include "store/ConfigDatabase.h"

#include <sqlite3.h>

#include <system_error>

#include "common/text/WideText.h"
#include "store/SQLiteStatement.h"
#include "store/StoreSchema.h"

namespace cursorial {

namespace {

// Writes to the settings, profile and button tables count SQLITE_OK as success as well.
bool WriteSucceeded(int rc) {
    return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE;
}

}  // namespace

ConfigDatabase& ConfigDatabase::Instance() {
    static ConfigDatabase instance;
    return instance;
}

ConfigDatabase::~ConfigDatabase() {
    std::lock_guard hold(mutex_);
    if (opened_)
        Close();
}

std::filesystem::path ConfigDatabase::DatabasePath(const std::filesystem::path& dataFolder,
                                                   std::u16string_view modelKey) {
    return dataFolder / "db" / (ToUtf8(modelKey) + "_data1.db");
}

bool ConfigDatabase::OpenForDevice(const std::filesystem::path& dataFolder,
                                   std::u16string_view modelKey) {
    std::lock_guard hold(mutex_);
    // Close whatever is open, not only after a successful open: a creation that failed half-way
    // keeps its connection, and carrying it over would write one model's settings into
    // another model's file.
    Release();
    opened_ = false;
    path_ = DatabasePath(dataFolder, modelKey).string();
    std::error_code error;
    if (std::filesystem::exists(path_, error)) {
        opened_ = Open(path_, kOpenExisting);
    } else {
        opened_ = CreateDatabase(path_);
    }
    return opened_;
}

bool ConfigDatabase::CreateDatabase(const std::string& path) {
    if (!Open(path, kOpenCreate))
        return false;
    // Every statement runs even after a failure, so as much of the schema as possible exists.
    bool all = true;
    for (const char* statement : kSchemaStatements) {
        if (Exec(statement) != SQLITE_OK)
            all = false;
    }
    return all;
}

bool ConfigDatabase::IsOpened() const {
    std::lock_guard hold(mutex_);
    return opened_;
}

std::string ConfigDatabase::Path() const {
    std::lock_guard hold(mutex_);
    return path_;
}

int64_t ConfigDatabase::InsertedId() {
    return LastInsertRowId();
}

// Settings ------------------------------------------------------------------------------------

bool ConfigDatabase::GetConfigValue(int profile, std::u16string_view key, std::u16string& value) {
    value.clear();
    std::lock_guard hold(mutex_);
    const std::string key8 = ToUtf8(key);
    SQLiteStatement st;
    Prepare(st, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
    st.BindInt(1, profile);
    st.BindText(2, key8);
    if (st.Step() != SQLITE_ROW)
        return false;
    value = FromUtf8(st.ColumnString(0));
    return true;
}

bool ConfigDatabase::SetConfigValue(int profile, std::u16string_view key,
                                    std::u16string_view value) {
    std::lock_guard hold(mutex_);
    const std::string key8 = ToUtf8(key);
    const std::string value8 = ToUtf8(value);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
    st.BindText(1, value8);
    st.BindInt(2, profile);
    st.BindText(3, key8);
    return WriteSucceeded(st.Step());
}

void ConfigDatabase::InsertDefaultSettings(int profile) {
    for (const DefaultSetting& setting : kDefaultSettings) {
        SQLiteStatement st;
        Prepare(st, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
        st.BindInt(1, profile);
        st.BindText(2, setting.key.data(), static_cast<int>(setting.key.size()));
        st.BindText(3, setting.value.data(), static_cast<int>(setting.value.size()));
        st.Step();
    }
}

// Profiles ------------------------------------------------------------------------------------

int ConfigDatabase::AddProfile(const ProfileRecord& record) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(record.name);
    const std::string app8 = ToUtf8(record.app);
    int id = 0;
    {
        SQLiteStatement st;
        Prepare(st, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
        st.BindText(1, name8);
        st.BindInt(2, 0);
        st.BindText(3, app8);
        st.BindInt(4, 0);
        if (WriteSucceeded(st.Step()))
            id = static_cast<int>(InsertedId());
    }
    // Seeding a failed insert would leave forty rows for a profile 0 that does not exist.
    if (id > 0)
        InsertDefaultSettings(id);
    return id;
}

bool ConfigDatabase::RenameProfile(int profile, std::u16string_view name) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(name);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_profile_data SET name = ? WHERE profile = ?");
    st.BindText(1, name8);
    st.BindInt(2, profile);
    return WriteSucceeded(st.Step());
}

bool ConfigDatabase::GetProfileName(int profile, std::u16string& name) {
    name.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT name FROM t_profile_data WHERE profile = ?");
    st.BindInt(1, profile);
    if (st.Step() != SQLITE_ROW)
        return false;
    name = FromUtf8(st.ColumnString(0));
    return true;
}

int ConfigDatabase::GetProfiles(std::vector<ProfileRecord>& profiles) {
    profiles.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_profile_data");
    while (st.Step() == SQLITE_ROW) {
        ProfileRecord& record = profiles.emplace_back();
        record.id = st.ColumnInt(0);
        record.name = FromUtf8(st.ColumnString(1));
        record.status = st.ColumnInt(2);
        record.app = FromUtf8(st.ColumnString(3));
        record.type = st.ColumnInt(4);
    }
    return static_cast<int>(profiles.size());
}

bool ConfigDatabase::SetActiveProfile(int profile) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_profile_data SET status = ?");
    st.BindInt(1, 0);
    st.Step();
    Prepare(st, "UPDATE t_profile_data SET status = ? WHERE profile = ?");
    st.BindInt(1, 1);
    st.BindInt(2, profile);
    return WriteSucceeded(st.Step());
}

int ConfigDatabase::GetActiveProfile() {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT profile FROM t_profile_data WHERE status = ?");
    st.BindInt(1, 1);
    if (st.Step() != SQLITE_ROW)
        return 0;
    return st.ColumnInt(0);
}

}  // namespace cursorial
