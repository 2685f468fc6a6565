// The worker's device writes: button functions with a pending macro, lighting, the lighting
// reset and read-back, the DPI defaults, the factory reset, and the refresh that follows a
// failed write.
#include "app/TextIds.h"
#include "controller/core/Controller.h"
#include "device/ButtonCommands.h"
#include "device/InfoDecoders.h"
#include "device/LightingCommands.h"
#include "exchange/LightingRows.h"
#include "exchange/ProfileCommands.h"
#include "exchange/ProfileManager.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

namespace {

// The lighting mode a factory reset leaves the mouse in.
constexpr int kFactoryLightMode = 4;

}  // namespace

bool Controller::SendWrite(Command& command) {
    const Command sent = command;
    const SendStatus status = link_.Transact(command.report, command.Length());
    if (sendObserver_)
        sendObserver_(sent, status);
    if (status == SendStatus::kOk)
        return true;
    CommandFailureRefresh();
    return false;
}

void Controller::SendIgnoringResult(Command& command) {
    const Command sent = command;
    const SendStatus status = link_.Transact(command.report, command.Length());
    if (sendObserver_)
        sendObserver_(sent, status);
}

bool Controller::SendMacro(ButtonMacro& macro) {
    // A failed packet does not stop the others (the mouse may still take them), but the macro
    // only counts as sent when every packet went through.
    bool whole = true;
    for (Command& packet : macro.commands.commands) {
        const Command sent = packet;
        const SendStatus status = link_.Transact(packet.report, packet.Length());
        if (sendObserver_)
            sendObserver_(sent, status);
        whole = whole && status == SendStatus::kOk;
    }
    return whole;
}

void Controller::CommandFailureRefresh() {
    if (link_.ConnectionMode() != kKindReceiver)
        return;
    const int type = selectedType_;
    View([&](ControllerView& v) {
        v.ClosePopups();
        v.SetDeviceState(type, kKindReceiver, kOnline);
    });
    if (devicePresent_)
        return;
    const bool receiver = link_.ConnectionMode() == kKindReceiver;
    View([&](ControllerView& v) {
        v.SetConnectionText(receiver ? text_id::kConnectedByReceiver : text_id::kConnectedByCable);
        v.SetDeviceState(kTypeByIdsOnly, receiver ? kKindReceiver : kKindCable, kOnline);
    });
    devicePresent_ = true;
}

void Controller::WriteButtons() {
    const int profile = currentProfile_;
    std::vector<int> refused;
    // Every macro too long for the mouse stays out of the table, not only the pending one.
    for (const ButtonMacro& m : ProfileMacroCommands(db_, profile)) {
        if (m.commands.status != MacroBuildStatus::kOk)
            refused.push_back(m.keyCode);
    }
    if (pendingMacro_.exchange(false)) {
        const int key = pendingMacroKey_.exchange(-1);
        if (std::optional<ButtonMacro> macro = PendingMacroCommands(db_, profile, key)) {
            if (macro->commands.status == MacroBuildStatus::kOk) {
                if (!SendMacro(*macro))
                    refused.push_back(key);
            } else {
                View([&](ControllerView& v) { v.ShowMacrosRefused({key}); });
            }
        }
    }
    Command table = ButtonFunctionsCommand(db_, profile, Description().defaultAssignments, refused);
    SendWrite(table);
}

void Controller::WriteLighting() {
    if (std::optional<Command> c = LightingCommand(db_, currentProfile_, lightMode_))
        SendWrite(*c);
}

void Controller::LightingReadBack() {
    Command c = MakeReadCommand(command::kReadLighting);
    if (!link_.Send(c))
        return;
    const std::optional<LightingRead> read = DecodeLighting(c.report.bytes);
    if (!read)
        return;
    const int profile = currentProfile_;
    lightMode_ = read->mode;
    db_.SetActiveLightMode(profile, read->mode);
    LightSetting row;
    if (db_.GetLightSetting(profile, read->mode, row)) {
        row.brightness = read->brightness;
        row.speed = read->speed;
        db_.UpdateLightSetting(read->mode, row);
    }
}

void Controller::LightingReset() {
    Command reset = BuildLightingResetCommand();
    SendIgnoringResult(reset);
    Pause(context_.timing.lightingPauseMs);
    LightingReadBack();
    PageRefresh pages;
    pages.lighting = true;
    View([&](ControllerView& v) { v.RefreshPages(pages); });
}

void Controller::RestoreDpiDefaults() {
    ApplyDescriptionDefaults(db_, DescriptionFile(), currentProfile_, true);
    PageRefresh pages;
    pages.dpiOnly = true;
    View([&](ControllerView& v) { v.RefreshPages(pages); });
    const ProfileValues values = ReadProfileValues(db_, currentProfile_);
    Command stages = DpiStagesCommand(values, sensor_, Limits());
    SendWrite(stages);
    Command colours = DpiColoursCommand(values);
    SendWrite(colours);
}

void Controller::FactoryReset() {
    Command reset = BuildFactoryResetCommand();
    SendIgnoringResult(reset);
    const bool lighting = HasLighting();
    const EnsureProfilesResult result =
        ResetProfiles(db_, Text(text_id::kProfileWord), DescriptionFile(), lighting);
    if (result.highestReportRate)
        highestReportRate_ = *result.highestReportRate;
    currentProfile_ = 1;
    if (lighting)
        EnsureLightSettings(db_, 1, Description().lightEffects);
    PageRefresh pages;
    pages.buttons = pages.macros = pages.performance = true;
    View([&](ControllerView& v) { v.RefreshPages(pages); });
    if (!lighting)
        return;

    Pause(context_.timing.lightingPauseMs);
    Command factory = BuildLightingFactoryResetCommand();
    SendIgnoringResult(factory);
    Pause(context_.timing.lightingPauseMs);
    Command read = MakeReadCommand(command::kReadLighting);
    if (link_.Send(read)) {
        if (const std::optional<LightingRead> mode = DecodeLighting(read.report.bytes)) {
            lightMode_ = mode->mode;
            db_.SetActiveLightMode(1, mode->mode);
            if (mode->mode != kFactoryLightMode) {
                Pause(context_.timing.lightingForcePauseMs);
                Command again = BuildLightingFactoryResetCommand();
                SendIgnoringResult(again);
                lightMode_ = kFactoryLightMode;
                db_.SetActiveLightMode(1, kFactoryLightMode);
            }
        }
    }
    PageRefresh light;
    light.lighting = true;
    RefreshPages(light);
}

}  // namespace cursorial
