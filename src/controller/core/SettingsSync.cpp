// Keeping the store and the mouse in step: reading the mouse's information and, once per model
// and run, all its settings into the current profile; writing the whole profile to the mouse;
// the page refreshes around both and the version display that follows.
#include "app/TextIds.h"
#include "controller/core/Controller.h"
#include "controller/core/MouseSession.h"
#include "device/VersionText.h"
#include "exchange/LightingRows.h"
#include "exchange/ProfileCommands.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

void Controller::RefreshPages(PageRefresh pages) {
    if (pages.lighting) {
        const DescriptionState description = Description();
        const int profile = currentProfile_;
        EnsureLightSettings(db_, profile, description.lightEffects);
        lightMode_ = db_.GetActiveLightMode(profile);
    }
    View([&](ControllerView& v) { v.RefreshPages(pages); });
}

bool Controller::ReadFromMouse(SensorReadVariant variant) {
    const bool full = variant == SensorReadVariant::kFull;
    const int type = selectedType_;
    if (full) {
        connected_ = 0;
        View([&](ControllerView& v) { v.ShowBattery(type, batteryLevel_, charge_); });
    }

    std::optional<DeviceInfo> info = AskInformation(link_);
    if (full && !info) {
        info = AskInformation(link_);
        Pause(context_.timing.infoRetryPauseMs);
        if (!info)
            info = AskInformation(link_);
    }
    if (info)
        TakeInformation(*info, variant);
    if (connected_ == 0) {
        CommandFailureRefresh();
        return false;
    }
    {
        std::lock_guard lock(stateMutex_);
        // A model's settings are read from the mouse once per run; later only its information.
        if (!synchronised_.insert(type).second)
            return true;
    }

    const int profile = currentProfile_;
    const SettingsRead read = ReadMouseSettings(link_, sensor_);
    for (const SettingPair& p : SettingsToStore(read))
        db_.SetConfigValue(profile, p.key, p.value);
    if (read.lighting) {
        lightMode_ = read.lighting->mode;
        db_.SetActiveLightMode(profile, read.lighting->mode);
        LightSetting row;
        if (db_.GetLightSetting(profile, read.lighting->mode, row)) {
            row.brightness = read.lighting->brightness;
            row.speed = read.lighting->speed;
            db_.UpdateLightSetting(read.lighting->mode, row);
        }
    }
    if (full && link_.ConnectionMode() == kKindReceiver) {
        if (const auto version = AskFirmwareVersion(link_)) {
            const std::u16string text =
                cursorial::FirmwareVersionText(version->major, version->minor);
            {
                std::lock_guard lock(stateMutex_);
                firmwareVersion_ = text;
            }
            View([&](ControllerView& v) { v.ShowReceiverFirmware(text); });
        }
    }
    return true;
}

void Controller::TakeInformation(const DeviceInfo& info, SensorReadVariant variant) {
    sensor_ = info.sensor;
    const SensorProfile sensorProfile = SensorProfileFor(info.sensor, variant);
    lowestDpi_ = sensorProfile.limits.lowest;
    highestDpi_ = sensorProfile.limits.highest;
    rateClass_ = RateClassFromCapability(info.highestRate);
    connected_ = info.connected;
    const int sensor = info.sensor;
    View([&](ControllerView& v) { v.ShowSensor(sensor, sensorProfile); });
    if (variant == SensorReadVariant::kFull) {
        charge_ = info.chargeState;
        batteryLevel_ = info.batteryLevel;
        const int type = selectedType_;
        View([&](ControllerView& v) { v.ShowBattery(type, batteryLevel_, charge_); });
    }
}

void Controller::SetDescription(const DescriptionState& description, std::u16string_view modelKey) {
    std::lock_guard lock(stateMutex_);
    description_ = description;
    modelKey_ = modelKey;
}

void Controller::WriteAll() {
    PageRefresh pages;
    pages.buttons = pages.performance = true;
    pages.lighting = HasLighting();
    RefreshPages(pages);

    const DescriptionState description = Description();
    ProfileWrite write =
        ProfileWriteCommands(db_, currentProfile_, sensor_, Limits(), description.lighting,
                             lightMode_, description.defaultAssignments);
    if (!write.refusedMacroKeys.empty())
        View([&](ControllerView& v) { v.ShowMacrosRefused(write.refusedMacroKeys); });
    // A macro the mouse did not take whole is not named by the table: its button keeps its
    // default instead of playing a partial macro.
    std::vector<int> withoutMacro = write.refusedMacroKeys;
    for (ButtonMacro& macro : write.macros) {
        if (!SendMacro(macro))
            withoutMacro.push_back(macro.keyCode);
    }
    if (withoutMacro.size() != write.refusedMacroKeys.size())
        write.commands.front() = ButtonFunctionsCommand(
            db_, currentProfile_, description.defaultAssignments, withoutMacro);
    // A failure does not stop the commands after it.
    for (Command& c : write.commands)
        SendWrite(c);
}

void Controller::ShowVersions() {
    VersionDisplay versions;
    versions.connectionMode = link_.ConnectionMode();
    std::uint32_t release = 0;
    if (!link_.GetRelease(versions.connectionMode, release))
        release = 0;
    if (versions.connectionMode == kKindReceiver) {
        versions.receiverText = ReleaseVersionText(release);
        std::lock_guard lock(stateMutex_);
        receiverVersion_ = versions.receiverText;
    } else {
        versions.firmwareText = ReleaseVersionText(release);
        std::lock_guard lock(stateMutex_);
        firmwareVersion_ = versions.firmwareText;
    }
    View([&](ControllerView& v) { v.ShowVersions(versions); });
}

}  // namespace cursorial
