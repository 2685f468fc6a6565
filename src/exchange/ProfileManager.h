// The profile set of a model's database: creating it the first time, finding the active
// profile, the names shown for profiles, switching, and writing the model description's
// defaults into a profile.
//
// The description file is passed in (DescriptionFilePath of the catalogue); each operation reads
// it anew, as a change to the file takes effect at the next use. The language's word for
// "profile" (text 61) is passed in too, so the rules stay testable without language files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/DataFile.h"
#include "store/StoreStatus.h"

namespace cursorial {

class ConfigDatabase;

inline constexpr int kProfileCount = 4;

// The name shown for a stored profile name. A name starting with "Profile" or "配置" is shown
// in the current language: the word, a space, and the rest of the name (which keeps its own
// leading space, so "Profile 1" shows as "<word>  1"). Other names are shown unchanged.
std::u16string ProfileDisplayName(std::u16string_view stored, std::u16string_view profileWord);

// Name of the n-th profile of a new database: "<word> <n>".
std::u16string NewProfileName(std::u16string_view profileWord, int n);

struct DefaultsResult {
    DataFileStatus status = DataFileStatus::kMissing;
    // Whether the store took every write (not kOk: none of them was kept).
    StoreStatus store = StoreStatus::kOk;
    // The description's report rate (full variant only): the highest report-rate level to assume
    // until the mouse reports its own.
    std::optional<int> highestReportRate;
};

// Writes the description's defaults into `profile` with SetConfigValue (updates of existing
// rows): DPI stages and colours, stage count and index, and unless `dpiOnly` also the report
// rate, sleep and movement options, lift-off distance and button response time, in one write
// transaction. Nothing is written when the file cannot be read or has no mouse/mouse_info.
DefaultsResult ApplyDescriptionDefaults(ConfigDatabase& db,
                                        const std::filesystem::path& descriptionFile, int profile,
                                        bool dpiOnly);

struct EnsureProfilesResult {
    // kBusy or kFailed: the profile set could not be read or completed, and nothing was changed;
    // the other fields are then zero.
    StoreStatus status = StoreStatus::kOk;
    int currentProfile = 0;  // the active profile afterwards
    bool created = false;    // the four profiles were created now
    bool repaired = false;   // a profile or settings missing after an old crash were added
    std::optional<int> highestReportRate;  // from the defaults, when they were applied
};

// Run each time a model is loaded, in one write transaction (joining an open one). A database
// without profiles gets four ("<word> 1" .. "<word> 4", ids 1 to 4), each seeded with the
// default settings and then the description's defaults, and profile 1 becomes active. A
// database left incomplete by a crash is completed: missing profiles among 1 to 4 are created
// the same way, and a profile lacking some settings gets their rows (with the description's
// values for those keys only). Then the active profile is read; when none is active, profile
// 1 is made active. A profile list that cannot be read is a failure, never "no profiles": then
// nothing is created. Holds the store's lock throughout.
EnsureProfilesResult EnsureProfiles(ConfigDatabase& db, std::u16string_view profileWord,
                                    const std::filesystem::path& descriptionFile);

// Opens the model's database (ConfigDatabase::OpenForDevice) with EnsureProfiles as its open
// step, so creating a file, its schema and its four profiles is one transaction: a crash leaves
// nothing or everything, and two processes starting on an empty folder make four profiles.
// The status is the open's when the file could not be opened or completed.
EnsureProfilesResult OpenProfileStore(ConfigDatabase& db, const std::filesystem::path& dataFolder,
                                      std::u16string_view modelKey, std::u16string_view profileWord,
                                      const std::filesystem::path& descriptionFile);

// Makes `profile` the active one in the store (the caller then writes it to the mouse). False,
// with nothing changed, when the profile does not exist or the store could not be written.
bool ActivateProfile(ConfigDatabase& db, int profile);

// The store side of restoring the default report rate: "report_rate" and
// "report_rate_wireless" of `profile` become the description's report_rate default_value.
// On kOk `value` is that number, for the caller to select and to take as the highest level.
// The caller writes the report rate to the mouse in every case.
DataFileStatus RestoreDefaultReportRate(ConfigDatabase& db,
                                        const std::filesystem::path& descriptionFile, int profile,
                                        int& value);

// The profile part of a factory reset: EnsureProfiles, the full defaults for profiles 1 to 4,
// the button assignments of profiles 1 to 5 and, with lighting, their lighting rows deleted
// (the lighting page creates them again), and the defaults once more for profile 1, all in one
// write transaction. The names and the active profile stored in the database stay. The new
// current profile is 1. On a status other than kOk nothing was changed.
EnsureProfilesResult ResetProfiles(ConfigDatabase& db, std::u16string_view profileWord,
                                   const std::filesystem::path& descriptionFile, bool hasLighting);

}  // namespace cursorial
