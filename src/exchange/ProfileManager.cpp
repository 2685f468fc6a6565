#include "exchange/ProfileManager.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "catalogue/DescriptionRules.h"
#include "catalogue/DeviceDescription.h"
#include "common/text/WideText.h"
#include "store/ConfigDatabase.h"
#include "store/SQLiteWriteTransaction.h"

namespace cursorial {

namespace {

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::u16string ProfileDisplayName(std::u16string_view stored, std::u16string_view profileWord) {
    for (std::u16string_view prefix :
         {std::u16string_view(u"Profile"), std::u16string_view(u"配置")}) {
        if (StartsWith(stored, prefix)) {
            std::u16string shown(profileWord);
            shown += u' ';
            shown += stored.substr(prefix.size());
            return shown;
        }
    }
    return std::u16string(stored);
}

std::u16string NewProfileName(std::u16string_view profileWord, int n) {
    return std::u16string(profileWord) + u' ' + IntToText(n);
}

namespace {

// The description's defaults written into `profile`, all of them or (with `onlyKeys`) those of
// the listed keys. Runs inside the caller's transaction.
DefaultsResult WriteDefaults(ConfigDatabase& db, const std::filesystem::path& descriptionFile,
                             int profile, bool dpiOnly,
                             const std::vector<std::string_view>* onlyKeys = nullptr) {
    DefaultsResult result;
    DescriptionDefaults defaults;
    result.status = ReadDescriptionDefaults(descriptionFile, defaults);
    if (result.status != DataFileStatus::kOk)
        return result;
    const DefaultSettingPlan plan = PlanDefaultSettings(defaults, dpiOnly);
    for (const SettingWrite& write : plan.writes) {
        if (onlyKeys &&
            std::find(onlyKeys->begin(), onlyKeys->end(), ToUtf8(write.key)) == onlyKeys->end())
            continue;
        if (!db.SetConfigValue(profile, write.key, write.value)) {
            result.store = StoreStatus::kFailed;
            return result;
        }
    }
    result.highestReportRate = plan.highestReportRate;
    return result;
}

// EnsureProfiles inside the caller's write transaction; on a failure the caller undoes it.
EnsureProfilesResult EnsureProfilesInTransaction(ConfigDatabase& db,
                                                 std::u16string_view profileWord,
                                                 const std::filesystem::path& descriptionFile) {
    EnsureProfilesResult result;
    const auto fail = [&](StoreStatus status) {
        EnsureProfilesResult failed;
        failed.status = status == StoreStatus::kOk ? StoreStatus::kFailed : status;
        return failed;
    };
    std::vector<ProfileRecord> profiles;
    if (const StoreStatus read = db.GetProfiles(profiles); read != StoreStatus::kOk)
        return fail(read);
    result.created = profiles.empty();
    const auto exists = [&](int id) {
        return std::any_of(profiles.begin(), profiles.end(),
                           [id](const ProfileRecord& p) { return p.id == id; });
    };
    const auto takeRate = [&](const DefaultsResult& defaults) {
        if (defaults.highestReportRate)
            result.highestReportRate = defaults.highestReportRate;
    };
    // A profile missing from 1 to 4, or one without all its settings, was left by a crash of an
    // older program part-way through this very creation: it is completed the same way.
    for (int n = 1; n <= kProfileCount; ++n) {
        if (exists(n))
            continue;
        ProfileRecord record;
        record.id = n;
        record.name = NewProfileName(profileWord, n);
        if (db.AddProfile(record) != n)
            return fail(StoreStatus::kFailed);
        const DefaultsResult defaults = WriteDefaults(db, descriptionFile, n, false);
        if (defaults.store != StoreStatus::kOk)
            return fail(defaults.store);
        takeRate(defaults);
        result.repaired = !result.created;
    }
    std::vector<std::string_view> added;
    for (const ProfileRecord& profile : profiles) {
        if (const StoreStatus seeded = db.SeedMissingSettings(profile.id, added);
            seeded != StoreStatus::kOk)
            return fail(seeded);
        if (added.empty())
            continue;
        // Only the rows just added get the description's values; the others may be the user's.
        const DefaultsResult defaults =
            WriteDefaults(db, descriptionFile, profile.id, false, &added);
        if (defaults.store != StoreStatus::kOk)
            return fail(defaults.store);
        result.repaired = true;
    }
    if (const StoreStatus read = db.GetActiveProfile(result.currentProfile);
        read != StoreStatus::kOk)
        return fail(read);
    if (result.currentProfile < 1) {
        if (!db.SetActiveProfile(1))
            return fail(StoreStatus::kFailed);
        result.currentProfile = 1;
    }
    return result;
}

}  // namespace

DefaultsResult ApplyDescriptionDefaults(ConfigDatabase& db,
                                        const std::filesystem::path& descriptionFile, int profile,
                                        bool dpiOnly) {
    auto hold = db.Hold();
    SQLiteWriteTransaction transaction(db);
    if (!transaction.Ok()) {
        DefaultsResult result;
        result.status = DataFileStatus::kOk;
        result.store = transaction.Status();
        return result;
    }
    DefaultsResult result = WriteDefaults(db, descriptionFile, profile, dpiOnly);
    if (result.status == DataFileStatus::kOk && result.store == StoreStatus::kOk)
        result.store = transaction.Commit();
    return result;
}

EnsureProfilesResult EnsureProfiles(ConfigDatabase& db, std::u16string_view profileWord,
                                    const std::filesystem::path& descriptionFile) {
    auto hold = db.Hold();
    SQLiteWriteTransaction transaction(db);
    if (!transaction.Ok()) {
        EnsureProfilesResult failed;
        failed.status = transaction.Status();
        return failed;
    }
    EnsureProfilesResult result = EnsureProfilesInTransaction(db, profileWord, descriptionFile);
    if (result.status != StoreStatus::kOk)
        return result;
    if (const StoreStatus committed = transaction.Commit(); committed != StoreStatus::kOk) {
        EnsureProfilesResult failed;
        failed.status = committed;
        return failed;
    }
    return result;
}

EnsureProfilesResult OpenProfileStore(ConfigDatabase& db, const std::filesystem::path& dataFolder,
                                      std::u16string_view modelKey, std::u16string_view profileWord,
                                      const std::filesystem::path& descriptionFile) {
    auto hold = db.Hold();
    EnsureProfilesResult result;
    const bool opened = db.OpenForDevice(dataFolder, modelKey, [&](ConfigDatabase& store) {
        result = EnsureProfilesInTransaction(store, profileWord, descriptionFile);
        return result.status;
    });
    if (!opened) {
        result = EnsureProfilesResult();
        result.status =
            db.OpenStatus() == StoreStatus::kOk ? StoreStatus::kFailed : db.OpenStatus();
    }
    return result;
}

bool ActivateProfile(ConfigDatabase& db, int profile) {
    return db.SetActiveProfile(profile);
}

DataFileStatus RestoreDefaultReportRate(ConfigDatabase& db,
                                        const std::filesystem::path& descriptionFile, int profile,
                                        int& value) {
    std::u16string text;
    const DataFileStatus status = ReadDefaultReportRate(descriptionFile, text);
    if (status != DataFileStatus::kOk)
        return status;
    {
        auto hold = db.Hold();
        SQLiteWriteTransaction transaction(db);
        if (transaction.Ok() && db.SetConfigValue(profile, u"report_rate", text) &&
            db.SetConfigValue(profile, u"report_rate_wireless", text))
            transaction.Commit();
    }
    value = TextToInt(text);
    return status;
}

EnsureProfilesResult ResetProfiles(ConfigDatabase& db, std::u16string_view profileWord,
                                   const std::filesystem::path& descriptionFile, bool hasLighting) {
    auto hold = db.Hold();
    SQLiteWriteTransaction transaction(db);
    const auto fail = [](StoreStatus status) {
        EnsureProfilesResult failed;
        failed.status = status == StoreStatus::kOk ? StoreStatus::kFailed : status;
        return failed;
    };
    if (!transaction.Ok())
        return fail(transaction.Status());
    EnsureProfilesResult result = EnsureProfilesInTransaction(db, profileWord, descriptionFile);
    if (result.status != StoreStatus::kOk)
        return result;
    const auto defaultsFor = [&](int profile) {
        const DefaultsResult defaults = WriteDefaults(db, descriptionFile, profile, false);
        if (defaults.highestReportRate)
            result.highestReportRate = defaults.highestReportRate;
        return defaults.store;
    };
    for (int profile = 1; profile <= kProfileCount; ++profile) {
        if (const StoreStatus store = defaultsFor(profile); store != StoreStatus::kOk)
            return fail(store);
    }
    result.currentProfile = 1;
    // One past the profile set as well, as the reset always has.
    for (int profile = 1; profile <= kProfileCount + 1; ++profile) {
        if (!db.DeleteKeyAssignments(profile) || (hasLighting && !db.DeleteLightSettings(profile)))
            return fail(StoreStatus::kFailed);
    }
    if (const StoreStatus store = defaultsFor(1); store != StoreStatus::kOk)
        return fail(store);
    if (const StoreStatus committed = transaction.Commit(); committed != StoreStatus::kOk)
        return fail(committed);
    return result;
}

}  // namespace cursorial
