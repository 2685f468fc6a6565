// ConfigDatabase: the configuration store, one SQLite file per mouse model.
//
// The window thread (pages, profile and exchange-file handling) and the worker (synchronisation,
// command builders) share the one store. Every record operation holds the store's recursive lock
// from Prepare until its statement is finalized, and OpenForDevice holds it too, so an operation
// never meets a connection that is being replaced. A caller that needs several operations to
// appear as one (an import in a transaction) holds the lock across them with Hold().
//
// The program and cursorialctl may use one file at the same time, and either may be killed at
// any moment. So a file is made complete (schema, and what the caller's open step adds) in one
// write transaction, every multi-statement write is one transaction, and the reads a decision
// rests on (is there a profile? are there lighting rows?) return a StoreStatus: a busy or failed
// read is never taken for "no rows".
//
// Other results follow the program's convention: writes return bool, inserts the new row id or
// 0, reads bool or a count. A closed store fails every operation quietly (Prepare gives
// SQLITE_MISUSE): reads find nothing, writes report false.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "store/Records.h"
#include "store/SQLiteDB.h"
#include "store/StoreStatus.h"

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

    // Run by OpenForDevice inside its write transaction, after the schema is complete: the
    // caller's part of a complete file (the profile set). Anything but kOk undoes the open.
    using OpenStep = std::function<StoreStatus(ConfigDatabase&)>;

    // Closes the current file and opens the model's file, creating it when it does not exist.
    // In one write transaction (BEGIN IMMEDIATE) the fifteen schema statements run when any of
    // their tables or indexes is missing (a new file, or one left without them by a crash or an
    // older program), and then `step`. So a crash leaves nothing or everything, and two
    // processes opening one new file at once create it once. The db folder must exist (SQLite
    // creates no folders). Returns the opened flag: true when the file is complete and usable.
    // On false the connection is closed (a file without the full schema is never used) and
    // OpenStatus() tells a busy file from a failure; a new file whose creation failed stays
    // empty and is completed by the next open.
    bool OpenForDevice(const std::filesystem::path& dataFolder, std::u16string_view modelKey,
                       const OpenStep& step = {});

    // The opened flag of the last OpenForDevice.
    bool IsOpened() const;
    // Why the last OpenForDevice failed (kOk when it succeeded).
    StoreStatus OpenStatus() const;
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
    // Inserts the default row of every key of the default list the profile has no row for (a
    // profile half-seeded by a crash of an older program). `added` receives those keys.
    StoreStatus SeedMissingSettings(int profile, std::vector<std::string_view>& added);

    // Profiles (t_profile_data) ---------------------------------------------------------------
    // Inserts the profile (status 0, type 0) and its forty default settings in one transaction
    // (joining an open one). A record id above 0 asks for that id. The new id, or 0 when
    // anything failed (then nothing was added, or the caller's transaction must be undone).
    int AddProfile(const ProfileRecord& record);
    bool RenameProfile(int profile, std::u16string_view name);
    bool GetProfileName(int profile, std::u16string& name);
    // Replaces the list's contents with every profile in id order. kOk with an empty list when
    // there is none; on any other status the list is empty and means nothing.
    StoreStatus GetProfiles(std::vector<ProfileRecord>& profiles);
    // In one transaction: clears every status, then sets the profile's. False, with nothing
    // changed, when the profile does not exist or the store could not be written.
    bool SetActiveProfile(int profile);
    // The first profile with status 1, or 0 when none is active (with kOk).
    StoreStatus GetActiveProfile(int& profile);

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
    // All inserts in one transaction (joining an open one); false, with none of them stored,
    // when one fails.
    bool AddMacroEvents(const std::vector<MacroEvent>& events);
    // In position order.
    int ListMacroEvents(int macroId, std::vector<MacroEvent>& events);
    bool DeleteMacroEvents(int macroId);

    // Lighting (t_light_data) -----------------------------------------------------------------
    // kOk with the number of the profile's rows; on any other status `count` is 0.
    StoreStatus CountLightSettings(int profile, int& count);
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
    // Runs the schema statements when any of their tables or indexes is missing. Inside the
    // open's transaction.
    StoreStatus CompleteSchema();
    // The forty default rows of a new profile, one insert each. Runs under AddProfile's lock and
    // transaction; false at the first failed insert.
    bool InsertDefaultSettings(int profile);
    int64_t InsertedId();

    mutable std::recursive_mutex mutex_;
    std::string path_;
    bool opened_ = false;
    StoreStatus openStatus_ = StoreStatus::kFailed;
};

}  // namespace cursorial
