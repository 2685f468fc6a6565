// Button, macro and lighting records of ConfigDatabase.
#include <sqlite3.h>

#include "common/text/WideText.h"
#include "store/ConfigDatabase.h"
#include "store/SQLiteStatement.h"
#include "store/SQLiteWriteTransaction.h"

namespace cursorial {

namespace {

// Writes to the button table accept SQLITE_OK as well; those to the macro and lighting tables
// only ROW and DONE.
bool ButtonWriteSucceeded(int rc) {
    return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE;
}

bool StrictWriteSucceeded(int rc) {
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

constexpr int kLayer = 0;

// t_key_macro_data columns in table order.
void ReadKeyAssignment(const SQLiteStatement& st, KeyAssignment& record) {
    record.keyId = st.ColumnInt(0);
    record.profile = st.ColumnInt(1);
    record.layer = st.ColumnInt(2);
    record.keyCode = st.ColumnInt(3);
    record.layoutValue = st.ColumnInt(4);
    record.layoutText = FromUtf8(st.ColumnString(5));
    record.type = st.ColumnInt(6);
    record.value = st.ColumnInt(7);
    record.value2 = st.ColumnInt(8);
    record.value3 = st.ColumnInt(9);
    record.description = FromUtf8(st.ColumnString(10));
}

// t_macro_data columns in table order.
void ReadMacro(const SQLiteStatement& st, Macro& record) {
    record.id = st.ColumnInt(0);
    record.name = FromUtf8(st.ColumnString(1));
    record.playType = st.ColumnInt(2);
    record.playCount = st.ColumnInt(3);
    record.delayType = st.ColumnInt(4);
    record.delayTime = st.ColumnInt(5);
}

// t_macrorecord: record_id, macro_id, type, record_index, desc, value, delay_time.
void ReadMacroEvent(const SQLiteStatement& st, MacroEvent& event) {
    event.id = st.ColumnInt(0);
    event.macroId = st.ColumnInt(1);
    event.kind = st.ColumnInt(2);
    event.position = st.ColumnInt(3);
    event.description = FromUtf8(st.ColumnString(4));
    event.value = st.ColumnInt(5);
    event.timestamp = st.ColumnInt(6);
}

// t_light_data columns in table order.
void ReadLightSetting(const SQLiteStatement& st, LightSetting& record) {
    record.id = st.ColumnInt(0);
    record.profile = st.ColumnInt(1);
    record.name = FromUtf8(st.ColumnString(2));
    record.mode = st.ColumnInt(3);
    record.brightness = st.ColumnInt(4);
    record.speed = st.ColumnInt(5);
    record.direction = st.ColumnInt(6);
    record.colorful = st.ColumnInt(7);
    record.colorIndex = st.ColumnInt(8);
    for (int i = 0; i < 7; ++i)
        record.colors[i] = st.ColumnInt(9 + i);
    record.configFunc = st.ColumnInt(16);
    record.reserved = st.ColumnInt(17);
    record.status = st.ColumnInt(18);
}

}  // namespace

// Button assignments ---------------------------------------------------------------------------

int ConfigDatabase::SaveKeyAssignment(const KeyAssignment& record) {
    std::lock_guard hold(mutex_);
    const std::string layoutText8 = ToUtf8(record.layoutText);
    const std::string description8 = ToUtf8(record.description);
    // The delete and the insert together: a crash between them would lose the assignment.
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return 0;
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    st.BindInt(1, record.profile);
    st.BindInt(2, record.layer);
    st.BindInt(3, record.keyCode);
    const bool deleted = ButtonWriteSucceeded(st.Step());
    st.Finalize();
    // A button on its default has no row.
    if (record.value == 0 && record.value2 == 0) {
        if (deleted)
            transaction.Commit();
        return 0;
    }
    if (!deleted)
        return 0;

    Prepare(st,
            "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc,"
            "                     macro_type, macro_value, macro_value2, macro_value3, "
            "macro_desc) \t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    st.BindInt(1, record.profile);
    st.BindInt(2, record.layer);
    st.BindInt(3, record.keyCode);
    st.BindInt(4, record.layoutValue);
    st.BindText(5, layoutText8);
    st.BindInt(6, record.type);
    st.BindInt(7, record.value);
    st.BindInt(8, record.value2);
    st.BindInt(9, record.value3);
    st.BindText(10, description8);
    if (!ButtonWriteSucceeded(st.Step()))
        return 0;
    const int id = static_cast<int>(InsertedId());
    st.Finalize();
    return transaction.Commit() == StoreStatus::kOk ? id : 0;
}

bool ConfigDatabase::GetKeyAssignment(int profile, int keyCode, KeyAssignment& record) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st,
            "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    st.BindInt(1, profile);
    st.BindInt(2, kLayer);
    st.BindInt(3, keyCode);
    if (st.Step() != SQLITE_ROW)
        return false;
    ReadKeyAssignment(st, record);
    return true;
}

int ConfigDatabase::ListKeyAssignments(int profile, std::vector<KeyAssignment>& records) {
    records.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
    st.BindInt(1, profile);
    st.BindInt(2, kLayer);
    while (st.Step() == SQLITE_ROW)
        ReadKeyAssignment(st, records.emplace_back());
    return static_cast<int>(records.size());
}

bool ConfigDatabase::SetKeyDescription(int profile, int keyCode, std::u16string_view description) {
    std::lock_guard hold(mutex_);
    const std::string description8 = ToUtf8(description);
    SQLiteStatement st;
    Prepare(st,
            "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and "
            "key_code = ?");
    st.BindText(1, description8);
    st.BindInt(2, profile);
    st.BindInt(3, kLayer);
    st.BindInt(4, keyCode);
    return ButtonWriteSucceeded(st.Step());
}

bool ConfigDatabase::DeleteKeyAssignments(int profile) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_key_macro_data WHERE profile = ?");
    st.BindInt(1, profile);
    return ButtonWriteSucceeded(st.Step());
}

// Macros ----------------------------------------------------------------------------------------

int ConfigDatabase::AddMacro(std::u16string_view name) {
    Macro record;
    record.name = std::u16string(name);
    record.playType = 0;
    record.playCount = 1;
    record.delayType = 1;
    record.delayTime = 0;
    return InsertMacro(record);
}

int ConfigDatabase::InsertMacro(const Macro& record) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(record.name);
    SQLiteStatement st;
    Prepare(st,
            "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES "
            "(?, ?, ?, ?, ?);");
    st.BindText(1, name8);
    st.BindInt(2, record.playType);
    st.BindInt(3, record.playCount);
    st.BindInt(4, record.delayType);
    st.BindInt(5, record.delayTime);
    if (!StrictWriteSucceeded(st.Step()))
        return 0;
    return static_cast<int>(InsertedId());
}

bool ConfigDatabase::RenameMacro(int macroId, std::u16string_view name) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(name);
    SQLiteStatement st;
    Prepare(st, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?");
    st.BindText(1, name8);
    st.BindInt(2, macroId);
    return StrictWriteSucceeded(st.Step());
}

bool ConfigDatabase::UpdateMacro(int macroId, const Macro& record) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(record.name);
    SQLiteStatement st;
    Prepare(st,
            "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = "
            "?,delay_time = ? WHERE macro_id = ?");
    st.BindText(1, name8);
    st.BindInt(2, record.playType);
    st.BindInt(3, record.playCount);
    st.BindInt(4, record.delayType);
    st.BindInt(5, record.delayTime);
    st.BindInt(6, macroId);
    return StrictWriteSucceeded(st.Step());
}

bool ConfigDatabase::DeleteMacro(int macroId) {
    std::lock_guard hold(mutex_);
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return false;
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_macro_data WHERE macro_id = ?");
    st.BindInt(1, macroId);
    if (!StrictWriteSucceeded(st.Step()))
        return false;
    Prepare(st, "DELETE FROM t_macrorecord WHERE macro_id = ?");
    st.BindInt(1, macroId);
    if (!StrictWriteSucceeded(st.Step()))
        return false;
    st.Finalize();
    return transaction.Commit() == StoreStatus::kOk;
}

bool ConfigDatabase::GetMacro(int macroId, Macro& record) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_macro_data WHERE macro_id = ?");
    st.BindInt(1, macroId);
    if (st.Step() != SQLITE_ROW)
        return false;
    ReadMacro(st, record);
    return true;
}

int ConfigDatabase::ListMacros(std::vector<Macro>& records) {
    records.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_macro_data");
    while (st.Step() == SQLITE_ROW)
        ReadMacro(st, records.emplace_back());
    return static_cast<int>(records.size());
}

// Macro events ----------------------------------------------------------------------------------

int ConfigDatabase::AddMacroEvent(const MacroEvent& event) {
    std::lock_guard hold(mutex_);
    const std::string description8 = ToUtf8(event.description);
    SQLiteStatement st;
    Prepare(st,
            "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
            "\t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?);");
    st.BindInt(1, event.macroId);
    st.BindInt(2, event.kind);
    st.BindInt(3, event.position);
    st.BindText(4, description8);
    st.BindInt(5, event.value);
    st.BindInt(6, event.timestamp);
    if (!StrictWriteSucceeded(st.Step()))
        return 0;
    return static_cast<int>(InsertedId());
}

bool ConfigDatabase::AddMacroEvents(const std::vector<MacroEvent>& events) {
    // The lock spans the whole transaction: another thread's statement in between would
    // otherwise run inside it.
    std::lock_guard hold(mutex_);
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return false;
    for (const MacroEvent& event : events) {
        if (AddMacroEvent(event) == 0)
            return false;
    }
    return transaction.Commit() == StoreStatus::kOk;
}

int ConfigDatabase::ListMacroEvents(int macroId, std::vector<MacroEvent>& events) {
    events.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
    st.BindInt(1, macroId);
    while (st.Step() == SQLITE_ROW)
        ReadMacroEvent(st, events.emplace_back());
    return static_cast<int>(events.size());
}

bool ConfigDatabase::DeleteMacroEvents(int macroId) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_macrorecord WHERE macro_id = ?");
    st.BindInt(1, macroId);
    return StrictWriteSucceeded(st.Step());
}

// Lighting --------------------------------------------------------------------------------------

StoreStatus ConfigDatabase::CountLightSettings(int profile, int& count) {
    count = 0;
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    int rc = Prepare(st, "select count(*) FROM t_light_data WHERE profile = ?");
    st.BindInt(1, profile);
    if (rc == SQLITE_OK)
        rc = st.Step();
    if (rc != SQLITE_ROW)
        return StoreStatusOf(rc == SQLITE_OK || rc == SQLITE_DONE ? SQLITE_ERROR : rc);
    count = st.ColumnInt(0);
    return StoreStatus::kOk;
}

int ConfigDatabase::AddLightSetting(const LightSetting& record) {
    std::lock_guard hold(mutex_);
    const std::string name8 = ToUtf8(record.name);
    SQLiteStatement st;
    Prepare(st,
            "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
            "colorful, colorindex,\t\t\t\t\tcolor_value1, color_value2, color_value3, "
            "color_value4, color_value5, color_value6, color_value7, config_func, reserved, "
            "status)\t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    st.BindInt(1, record.profile);
    st.BindText(2, name8);
    st.BindInt(3, record.mode);
    st.BindInt(4, record.brightness);
    st.BindInt(5, record.speed);
    st.BindInt(6, record.direction);
    st.BindInt(7, record.colorful);
    st.BindInt(8, record.colorIndex);
    for (int i = 0; i < 7; ++i)
        st.BindInt(9 + i, record.colors[i]);
    st.BindInt(16, record.configFunc);
    st.BindInt(17, record.reserved);
    st.BindInt(18, record.status);
    if (!StrictWriteSucceeded(st.Step()))
        return 0;
    return static_cast<int>(InsertedId());
}

bool ConfigDatabase::UpdateLightSetting(int mode, const LightSetting& record) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st,
            "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
            "colorindex = ?,\t\t\t color_value1 = ?, color_value2 = ?, color_value3 = ?, "
            "color_value4 = ?, color_value5 = ?, color_value6 = ?, color_value7 = ?,\t\t\t\t"
            "config_func = ?, reserved = ? WHERE profile = ? AND mode = ?");
    st.BindInt(1, record.brightness);
    st.BindInt(2, record.speed);
    st.BindInt(3, record.direction);
    st.BindInt(4, record.colorful);
    st.BindInt(5, record.colorIndex);
    for (int i = 0; i < 7; ++i)
        st.BindInt(6 + i, record.colors[i]);
    st.BindInt(13, record.configFunc);
    st.BindInt(14, record.reserved);
    st.BindInt(15, record.profile);
    st.BindInt(16, mode);
    return StrictWriteSucceeded(st.Step());
}

bool ConfigDatabase::SetActiveLightMode(int profile, int mode) {
    std::lock_guard hold(mutex_);
    SQLiteWriteTransaction transaction(*this);
    if (!transaction.Ok())
        return false;
    SQLiteStatement st;
    Prepare(st, "UPDATE t_light_data SET status = ? WHERE profile = ?");
    st.BindInt(1, 0);
    st.BindInt(2, profile);
    if (!StrictWriteSucceeded(st.Step()))
        return false;
    Prepare(st, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
    st.BindInt(1, 1);
    st.BindInt(2, profile);
    st.BindInt(3, mode);
    if (!StrictWriteSucceeded(st.Step()))
        return false;
    st.Finalize();
    return transaction.Commit() == StoreStatus::kOk;
}

int ConfigDatabase::GetActiveLightMode(int profile) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
    st.BindInt(1, profile);
    st.BindInt(2, 1);
    if (st.Step() != SQLITE_ROW)
        return 0;
    return st.ColumnInt(0);
}

bool ConfigDatabase::GetLightSetting(int profile, int mode, LightSetting& record) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
    st.BindInt(1, profile);
    st.BindInt(2, mode);
    if (st.Step() != SQLITE_ROW)
        return false;
    ReadLightSetting(st, record);
    return true;
}

int ConfigDatabase::ListLightSettings(int profile, std::vector<LightSetting>& records) {
    records.clear();
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "SELECT * FROM t_light_data WHERE profile = ?");
    st.BindInt(1, profile);
    while (st.Step() == SQLITE_ROW)
        ReadLightSetting(st, records.emplace_back());
    return static_cast<int>(records.size());
}

bool ConfigDatabase::DeleteLightSettings(int profile) {
    std::lock_guard hold(mutex_);
    SQLiteStatement st;
    Prepare(st, "DELETE FROM t_light_data WHERE profile = ?");
    st.BindInt(1, profile);
    return StrictWriteSucceeded(st.Step());
}

}  // namespace cursorial
