// ConfigDatabase: the configuration store, one SQLite file per mouse model.
//
// The window thread (pages, profile and exchange-file handling) and the worker (synchronisation,
// command builders) share the one store. Every record operation holds the store's recursive lock
// from Prepare until its statement is finalized, and OpenForDevice holds it too, so an operation
// never meets a connection that is being replaced. A caller that needs several operations to
// appear as one (an import in a transaction) holds the lock across them with Hold().
//
// Results follow the program's convention: writes return bool, inserts the new row id or 0,
// reads bool or a count. A closed store fails every operation quietly (Prepare gives
// SQLITE_MISUSE): reads find nothing, writes report false.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "store/Records.h"
#include "store/SQLiteDB.h"

namespace cursorial {

class ConfigDatabase : public SQLiteDB {
public:
    // Flags of the two ways a model's file is opened.
    static constexpr int kOpenExisting = 0x10002;  // READWRITE | FULLMUTEX
    static constexpr int kOpenCreate = 0x10006;    // READWRITE | CREATE | FULLMUTEX

    // The process-wide store, created on the first call (safe against concurrent first calls)
    // and destroyed at exit. Tests and benchmarks may construct their own.
    static ConfigDatabase& Instance();

    ConfigDatabase() = default;
    ~ConfigDatabase() override;

    // "<dataFolder>/db/<modelKey>_data1.db"; an empty key (a type no catalogue entry matches)
    // gives "_data1.db".
    static std::filesystem::path DatabasePath(const std::filesystem::path& dataFolder,
                                              std::u16string_view modelKey);

    // Closes the current file and opens the model's file, creating it with the schema when it
    // does not exist. An existing file is opened as it is: its tables are neither checked nor
    // upgraded. The db folder must exist (SQLite creates no folders). Returns the opened flag:
    // true when the file is usable; a creation in which a schema statement failed leaves the
    // connection open on what was created but reports false.
    bool OpenForDevice(const std::filesystem::path& dataFolder, std::u16string_view modelKey);

    // The opened flag of the last OpenForDevice.
    bool IsOpened() const;
    // The UTF-8 path of the last OpenForDevice.
    std::string Path() const;

    // The store's lock, for callers that must keep several operations together.
    [[nodiscard]] std::unique_lock<std::recursive_mutex> Hold() {
        return std::unique_lock<std::recursive_mutex>(mutex_);
    }

    // Settings (t_configdata) -----------------------------------------------------------------
    // False with an empty value when the profile has no row for the key.
    bool GetConfigValue(int profile, std::u16string_view key, std::u16string& value);
    // Updates an existing row only. True on a successful step, also when no row matched.
    bool SetConfigValue(int profile, std::u16string_view key, std::u16string_view value);

    // Profiles (t_profile_data) ---------------------------------------------------------------
    // Inserts the profile (status 0, type 0) and its forty default settings. The new id, or 0.
    int AddProfile(const ProfileRecord& record);
    bool RenameProfile(int profile, std::u16string_view name);
    bool GetProfileName(int profile, std::u16string& name);
    // Replaces the list's contents with every profile in id order; returns the list's size.
    int GetProfiles(std::vector<ProfileRecord>& profiles);
    // Clears every status, then sets the profile's; the result is that of the second update.
    bool SetActiveProfile(int profile);
    // The first profile with status 1, or 0.
    int GetActiveProfile();

    // Button assignments (t_key_macro_data), layer 0 ------------------------------------------
    // Replaces the button's row. The row is written only when value or value2 is non-zero; the
    // result is its id, else 0 (the button is back on its default).
    int SaveKeyAssignment(const KeyAssignment& record);
    bool GetKeyAssignment(int profile, int keyCode, KeyAssignment& record);
    int ListKeyAssignments(int profile, std::vector<KeyAssignment>& records);
    bool SetKeyDescription(int profile, int keyCode, std::u16string_view description);
    // Every button of the profile returns to its default.
    bool DeleteKeyAssignments(int profile);

    // Macros (t_macro_data, t_macrorecord) ----------------------------------------------------
    // A new macro with play type 0, count 1, delay type 1, delay time 0. The new id, or 0.
    int AddMacro(std::u16string_view name);
    int InsertMacro(const Macro& record);
    bool RenameMacro(int macroId, std::u16string_view name);
    bool UpdateMacro(int macroId, const Macro& record);
    // Deletes the macro and then, only when that worked, its events. Assignments naming the
    // macro are left alone.
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, Macro& record);
    int ListMacros(std::vector<Macro>& records);

    int AddMacroEvent(const MacroEvent& event);
    // All inserts in one transaction; single failures are not reported.
    void AddMacroEvents(const std::vector<MacroEvent>& events);
    // In position order.
    int ListMacroEvents(int macroId, std::vector<MacroEvent>& events);
    bool DeleteMacroEvents(int macroId);

    // Lighting (t_light_data) -----------------------------------------------------------------
    int CountLightSettings(int profile);
    int AddLightSetting(const LightSetting& record);
    // Writes brightness .. reserved of the profile's row for `mode`; name, mode and status stay.
    // True also when no row matched.
    bool UpdateLightSetting(int mode, const LightSetting& record);
    bool SetActiveLightMode(int profile, int mode);
    // The mode of the active row, 0 when none is active.
    int GetActiveLightMode(int profile);
    bool GetLightSetting(int profile, int mode, LightSetting& record);
    int ListLightSettings(int profile, std::vector<LightSetting>& records);
    bool DeleteLightSettings(int profile);

private:
    bool CreateDatabase(const std::string& path);
    // The forty default rows of a new profile, one insert each. Runs under AddProfile's lock.
    void InsertDefaultSettings(int profile);
    int64_t InsertedId();

    mutable std::recursive_mutex mutex_;
    std::string path_;
    bool opened_ = false;
};

}  // namespace cursorial
