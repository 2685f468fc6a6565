#include "store/ConfigDatabase.h"

#include <sqlite3.h>

#include <system_error>

#include "common/text/WideText.h"
#include "store/SQLiteStatement.h"
#include "store/SQLiteWriteTransaction.h"
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
                                   std::u16string_view modelKey, const OpenStep& step) {
    std::lock_guard hold(mutex_);
    // Close whatever is open: carrying a connection over would write one model's settings into
    // another model's file.
    Release();
    opened_ = false;
    path_ = DatabasePath(dataFolder, modelKey).string();
    openStatus_ = StoreStatus::kFailed;
    if (!Open(path_, kOpenCreate))
        return false;
    openStatus_ = [&] {
        SQLiteWriteTransaction transaction(*this);
        if (!transaction.Ok())
            return transaction.Status();
        if (const StoreStatus schema = CompleteSchema(); schema != StoreStatus::kOk)
            return schema;
        if (step) {
            if (const StoreStatus stepped = step(*this); stepped != StoreStatus::kOk)
                return stepped;
        }
        return transaction.Commit();
    }();
    if (openStatus_ != StoreStatus::kOk) {
        Release();
        return false;
    }
    ApplyPendingSyncMode();
    opened_ = true;
    return true;
}

StoreStatus ConfigDatabase::CompleteSchema() {
    // Every statement names one table or index; a file holding all of them is left untouched,
    // so its stored statement texts stay as they are.
    std::vector<std::string> missing;
    {
        SQLiteStatement st;
        int rc = Prepare(st,
                         "SELECT count(*) FROM sqlite_master WHERE type IN ('table', 'index') "
                         "AND name IN ('t_configdata', 't_profile_data', 'profileindex', "
                         "'t_key_macro_data', 'keyindex', 't_key_otherdata', 'otheridindex', "
                         "'t_macro_data', 'macroidindex', 't_macrorecord', 'macrorecordindex', "
                         "'t_light_data', 'lightindex', 't_key_light_data', 'keylightindex')");
        if (rc == SQLITE_OK)
            rc = st.Step();
        if (rc != SQLITE_ROW)
            return StoreStatusOf(rc == SQLITE_DONE ? SQLITE_ERROR : rc);
        if (st.ColumnInt(0) == static_cast<int>(kSchemaStatements.size()))
            return StoreStatus::kOk;
    }
    for (const char* statement : kSchemaStatements) {
        const int rc = Exec(statement);
        if (rc != SQLITE_OK)
            return StoreStatusOf(rc);
    }
    return StoreStatus::kOk;
}

bool ConfigDatabase::IsOpened() const {
    std::lock_guard hold(mutex_);
    return opened_;
}

StoreStatus ConfigDatabase::OpenStatus() const {
    std::lock_guard hold(mutex_);
    return openStatus_;
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

bool ConfigDatabase::InsertDefaultSettings(int profile) {
    for (const DefaultSetting& setting : kDefaultSettings) {
        SQLiteStatement st;
        Prepare(st, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
        st.BindInt(1, profile);
        st.BindText(2, setting.key.data(), static_cast<int>(setting.key.size()));
        st.BindText(3, setting.value.data(), static_cast<int>(setting.value.size()));
        if (!WriteSucceeded(st.Step()))
            return false;
    }
    return true;
}

StoreStatus ConfigDatabase::SeedMissingSettings(int profile, std::vector<std::string_view>& added) {
    added.clear();
    std::lock_guard hold(mutex_);
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return transaction.Status();
    for (const DefaultSetting& setting : kDefaultSettings) {
        SQLiteStatement st;
        int rc = Prepare(st,
                         "INSERT INTO t_configdata(profile, key, value) SELECT ?, ?, ? WHERE NOT "
                         "EXISTS (SELECT 1 FROM t_configdata WHERE profile = ? AND key = ?)");
        st.BindInt(1, profile);
        st.BindText(2, setting.key.data(), static_cast<int>(setting.key.size()));
        st.BindText(3, setting.value.data(), static_cast<int>(setting.value.size()));
        st.BindInt(4, profile);
        st.BindText(5, setting.key.data(), static_cast<int>(setting.key.size()));
        if (rc == SQLITE_OK)
            rc = st.Step();
        if (rc != SQLITE_DONE) {
            added.clear();
            return StoreStatusOf(rc == SQLITE_ROW ? SQLITE_ERROR : rc);
        }
        if (Changes() > 0)
            added.push_back(setting.key);
    }
    const StoreStatus committed = transaction.Commit();
    if (committed != StoreStatus::kOk)
        added.clear();
    return committed;
}

// Profiles ------------------------------------------------------------------------------------

int ConfigDatabase::AddProfile(const ProfileRecord& record) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(record.name);
    const std::string app8 = ToUtf8(record.app);
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return 0;
    int id = 0;
    {
        SQLiteStatement st;
        if (record.id > 0) {
            Prepare(st,
                    "INSERT INTO t_profile_data(profile, name, status, app, type) VALUES (?, ?, "
                    "?, ?, ?);");
            st.BindInt(1, record.id);
        } else {
            Prepare(st, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
        }
        const int first = record.id > 0 ? 2 : 1;
        st.BindText(first, name8);
        st.BindInt(first + 1, 0);
        st.BindText(first + 2, app8);
        st.BindInt(first + 3, 0);
        if (WriteSucceeded(st.Step()))
            id = static_cast<int>(InsertedId());
    }
    // A profile without its forty rows could never store the missing settings.
    if (id <= 0 || !InsertDefaultSettings(id) || transaction.Commit() != StoreStatus::kOk)
        return 0;
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

StoreStatus ConfigDatabase::GetProfiles(std::vector<ProfileRecord>& profiles) {
    profiles.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    int rc = Prepare(st, "SELECT * FROM t_profile_data");
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = st.Step();
        if (rc != SQLITE_ROW)
            break;
        ProfileRecord& record = profiles.emplace_back();
        record.id = st.ColumnInt(0);
        record.name = FromUtf8(st.ColumnString(1));
        record.status = st.ColumnInt(2);
        record.app = FromUtf8(st.ColumnString(3));
        record.type = st.ColumnInt(4);
    }
    if (rc != SQLITE_DONE) {
        profiles.clear();
        return StoreStatusOf(rc == SQLITE_OK ? SQLITE_ERROR : rc);
    }
    return StoreStatus::kOk;
}

bool ConfigDatabase::SetActiveProfile(int profile) {
    std::lock_guard hold(mutex_);
    // A reader in another process sees the old or the new active profile, never none.
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return false;
    SQLiteStatement st;
    Prepare(st, "UPDATE t_profile_data SET status = ?");
    st.BindInt(1, 0);
    if (!WriteSucceeded(st.Step()))
        return false;
    Prepare(st, "UPDATE t_profile_data SET status = ? WHERE profile = ?");
    st.BindInt(1, 1);
    st.BindInt(2, profile);
    if (!WriteSucceeded(st.Step()) || Changes() != 1)
        return false;
    st.Finalize();
    return transaction.Commit() == StoreStatus::kOk;
}

StoreStatus ConfigDatabase::GetActiveProfile(int& profile) {
    profile = 0;
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    int rc = Prepare(st, "SELECT profile FROM t_profile_data WHERE status = ?");
    st.BindInt(1, 1);
    if (rc == SQLITE_OK)
        rc = st.Step();
    if (rc == SQLITE_ROW) {
        profile = st.ColumnInt(0);
        return StoreStatus::kOk;
    }
    return rc == SQLITE_DONE ? StoreStatus::kOk
                             : StoreStatusOf(rc == SQLITE_OK ? SQLITE_ERROR : rc);
}

}  // namespace cursorial
