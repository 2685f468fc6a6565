#include "exchange/ProfileManager.h"

#include <mutex>
#include <vector>

#include "catalogue/DescriptionRules.h"
#include "catalogue/DeviceDescription.h"
#include "common/text/WideText.h"
#include "store/ConfigDatabase.h"

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

DefaultsResult ApplyDescriptionDefaults(ConfigDatabase& db,
                                        const std::filesystem::path& descriptionFile, int profile,
                                        bool dpiOnly) {
    DefaultsResult result;
    DescriptionDefaults defaults;
    result.status = ReadDescriptionDefaults(descriptionFile, defaults);
    if (result.status != DataFileStatus::kOk)
        return result;
    const DefaultSettingPlan plan = PlanDefaultSettings(defaults, dpiOnly);
    for (const SettingWrite& write : plan.writes)
        db.SetConfigValue(profile, write.key, write.value);
    result.highestReportRate = plan.highestReportRate;
    return result;
}

EnsureProfilesResult EnsureProfiles(ConfigDatabase& db, std::u16string_view profileWord,
                                    const std::filesystem::path& descriptionFile) {
    EnsureProfilesResult result;
    auto hold = db.Hold();
    std::vector<ProfileRecord> profiles;
    if (db.GetProfiles(profiles) == 0) {
        result.created = true;
        for (int n = 1; n <= kProfileCount; ++n) {
            ProfileRecord record;
            record.name = NewProfileName(profileWord, n);
            db.AddProfile(record);
            // The profile is addressed by its number, not by the id the insert returned: a
            // database without profiles hands out ids 1 to 4.
            result.currentProfile = n;
            const DefaultsResult defaults = ApplyDescriptionDefaults(db, descriptionFile, n, false);
            if (defaults.highestReportRate)
                result.highestReportRate = defaults.highestReportRate;
        }
        db.SetActiveProfile(1);
    }
    result.currentProfile = db.GetActiveProfile();
    if (result.currentProfile < 1) {
        db.SetActiveProfile(1);
        result.currentProfile = db.GetActiveProfile();
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
    db.SetConfigValue(profile, u"report_rate", text);
    db.SetConfigValue(profile, u"report_rate_wireless", text);
    value = TextToInt(text);
    return status;
}

EnsureProfilesResult ResetProfiles(ConfigDatabase& db, std::u16string_view profileWord,
                                   const std::filesystem::path& descriptionFile, bool hasLighting) {
    auto hold = db.Hold();
    EnsureProfilesResult result = EnsureProfiles(db, profileWord, descriptionFile);
    for (int profile = 1; profile <= kProfileCount; ++profile) {
        const DefaultsResult defaults =
            ApplyDescriptionDefaults(db, descriptionFile, profile, false);
        if (defaults.highestReportRate)
            result.highestReportRate = defaults.highestReportRate;
    }
    result.currentProfile = 1;
    // One past the profile set as well, as the reset always has.
    for (int profile = 1; profile <= kProfileCount + 1; ++profile) {
        db.DeleteKeyAssignments(profile);
        if (hasLighting)
            db.DeleteLightSettings(profile);
    }
    const DefaultsResult defaults = ApplyDescriptionDefaults(db, descriptionFile, 1, false);
    if (defaults.highestReportRate)
        result.highestReportRate = defaults.highestReportRate;
    return result;
}

}  // namespace cursorial
