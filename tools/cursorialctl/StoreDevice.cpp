#include "StoreDevice.h"

#include <string>
#include <string_view>
#include <vector>

#include "Cli.h"
#include "common/text/WideText.h"
#include "device/InfoDecoders.h"
#include "exchange/LightingRows.h"
#include "exchange/ProfileCommands.h"
#include "store/ConfigDatabase.h"

namespace cursorial::cli {

namespace {

int SendCommand(DeviceLink& link, Command& command, std::string_view what) {
    const SendStatus status = link.Transact(command.report, command.Length());
    if (status != SendStatus::kOk)
        return FailSend(what, status, command.report);
    return kExitOk;
}

}  // namespace

int SendButtonChange(ConfigDatabase& db, const DeviceTarget& target, int profile, int pendingKey,
                     std::span<const KeyAssignment> modelDefaults) {
    DeviceSession session;
    if (int code = session.Start(target.deviceType, target.waitMs); code != kExitOk)
        return code;
    int result = kExitOk;
    if (auto macro = PendingMacroCommands(db, profile, pendingKey)) {
        if (macro->commands.status == MacroBuildStatus::kTooLong) {
            result = Fail(kExitDevice, "the macro of button %d has %d events; at most %d fit",
                          pendingKey, macro->commands.eventCount, kMacroMaxEvents);
        }
        // A failed packet does not stop the others.
        for (Command& packet : macro->commands.commands) {
            if (SendCommand(session.Link(), packet, "macro data") != kExitOk)
                result = kExitDevice;
        }
    }
    Command table = ButtonFunctionsCommand(db, profile, modelDefaults);
    if (SendCommand(session.Link(), table, "button functions") != kExitOk)
        result = kExitDevice;
    return result;
}

int ApplyProfile(ConfigDatabase& db, const DeviceTarget& target, int profile, bool hasLighting,
                 const std::array<bool, 6>& lightEffects,
                 std::span<const KeyAssignment> modelDefaults) {
    DeviceSession session;
    if (int code = session.Start(target.deviceType, target.waitMs); code != kExitOk)
        return code;
    DeviceLink& link = session.Link();
    // The sensor decides the DPI limits and how the stages are encoded.
    Command info = MakeReadCommand(command::kInfo);
    if (int code = SendCommand(link, info, "information"); code != kExitOk)
        return code;
    const auto decoded = DecodeDeviceInfo(info.report.bytes);
    if (!decoded)
        return Fail(kExitDevice, "information: short answer");
    if (decoded->connected == 0)
        return Fail(kExitDevice, "the mouse is not connected");
    const DpiLimits limits = SensorProfileFor(decoded->sensor).limits;

    // As the pages' refresh before the write: a profile without lighting rows gets them.
    if (hasLighting)
        EnsureLightSettings(db, profile, lightEffects);
    ProfileWrite write = ProfileWriteCommands(db, profile, decoded->sensor, limits, hasLighting,
                                              db.GetActiveLightMode(profile), modelDefaults);
    // A failure does not stop the commands after it.
    int result = kExitOk;
    for (int key : write.refusedMacroKeys)
        result = Fail(kExitDevice, "the macro of button %d is too long for the mouse", key);
    for (ButtonMacro& macro : write.macros) {
        for (Command& packet : macro.commands.commands) {
            if (SendCommand(link, packet, "macro data") != kExitOk)
                result = kExitDevice;
        }
    }
    for (Command& c : write.commands) {
        if (SendCommand(link, c, Format("command 0x%02X", c.report[kCommandByte])) != kExitOk)
            result = kExitDevice;
    }
    return result;
}

}  // namespace cursorial::cli
