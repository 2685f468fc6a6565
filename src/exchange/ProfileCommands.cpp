#include "exchange/ProfileCommands.h"

#include <algorithm>
#include <map>
#include <string>

#include "common/text/WideText.h"
#include "device/ButtonCommands.h"
#include "device/LightingCommands.h"
#include "store/ConfigDatabase.h"
#include "store/SettingKeys.h"

namespace cursorial {

namespace {

std::vector<MacroPlayback> AllMacros(ConfigDatabase& db) {
    std::vector<Macro> macros;
    db.ListMacros(macros);
    std::vector<MacroPlayback> playback;
    playback.reserve(macros.size());
    for (const Macro& m : macros)
        playback.push_back({m.id, m.playType, m.playCount});
    return playback;
}

int ReadNumber(ConfigDatabase& db, int profile, std::u16string_view key) {
    std::u16string value;
    db.GetConfigValue(profile, key, value);
    return TextToInt(value);
}

// The macro of `assignment` built for its button; nothing when the macro is gone.
std::optional<ButtonMacro> BuildButtonMacro(ConfigDatabase& db, const KeyAssignment& assignment) {
    Macro macro;
    if (!db.GetMacro(assignment.value, macro))
        return std::nullopt;
    std::vector<MacroEvent> events;
    db.ListMacroEvents(macro.id, events);
    std::vector<MacroStep> steps;
    steps.reserve(events.size());
    for (const MacroEvent& e : events)
        steps.push_back({e.kind, e.value});
    return ButtonMacro{assignment.keyCode, macro.id, BuildMacroCommands(assignment.keyCode, steps)};
}

}  // namespace

ProfileValues ReadProfileValues(ConfigDatabase& db, int profile) {
    auto lock = db.Hold();  // one consistent view of the profile
    const auto read = [&](std::u16string_view key) { return ReadNumber(db, profile, key); };
    ProfileValues v;
    v.reportRate = read(setting_key::kReportRate);
    v.dpi.count = read(setting_key::kDpiCount);
    v.dpi.index = read(setting_key::kDpiIndex);
    for (int i = 0; i < kDpiStageCount; ++i) {
        v.dpi.values[i] = read(setting_key::DpiGroupValue(i));
        v.colours[i] = read(setting_key::DpiGroupRgb(i));
    }
    v.liftoffHeight = read(setting_key::kLiftoffHeight);
    v.sensorFlag = read(setting_key::kSensorFlag);
    v.power = {read(setting_key::kSleepLight), read(setting_key::kMoveWakeup),
               read(setting_key::kMoveCloseLight), read(setting_key::kButtonRespondTime)};
    return v;
}

Command ButtonFunctionsCommand(ConfigDatabase& db, int profile,
                               std::span<const KeyAssignment> modelDefaults,
                               std::span<const int> withoutMacro) {
    std::vector<KeyAssignment> stored;
    db.ListKeyAssignments(profile, stored);
    std::vector<ButtonAssignment> assignments;
    assignments.reserve(modelDefaults.size() + stored.size());
    for (const KeyAssignment& k : modelDefaults)
        assignments.push_back({k.keyCode, k.type, k.value, k.value2});
    for (const KeyAssignment& k : stored) {
        if (k.type == function_type::kMacro &&
            std::find(withoutMacro.begin(), withoutMacro.end(), k.keyCode) != withoutMacro.end())
            continue;
        assignments.push_back({k.keyCode, k.type, k.value, k.value2});
    }
    const std::vector<MacroPlayback> macros = AllMacros(db);
    return BuildButtonTableCommand(BuildButtonTable(assignments, macros));
}

std::optional<ButtonMacro> PendingMacroCommands(ConfigDatabase& db, int profile, int keyCode) {
    if (keyCode < 0)
        return std::nullopt;
    std::vector<KeyAssignment> stored;
    db.ListKeyAssignments(profile, stored);
    for (const KeyAssignment& k : stored) {
        if (k.type == function_type::kMacro && k.keyCode == keyCode)
            return BuildButtonMacro(db, k);
    }
    return std::nullopt;
}

std::vector<ButtonMacro> ProfileMacroCommands(ConfigDatabase& db, int profile) {
    std::vector<KeyAssignment> stored;
    db.ListKeyAssignments(profile, stored);
    // The table takes the last row of a key code, so that row decides what the button holds.
    std::map<int, const KeyAssignment*> effective;
    for (const KeyAssignment& k : stored)
        effective[k.keyCode] = &k;
    std::vector<ButtonMacro> macros;
    for (const auto& [keyCode, k] : effective) {
        if (k->type != function_type::kMacro)
            continue;
        if (auto macro = BuildButtonMacro(db, *k))
            macros.push_back(std::move(*macro));
    }
    return macros;
}

std::optional<Command> LightingCommand(ConfigDatabase& db, int profile, int mode) {
    db.SetActiveLightMode(profile, mode);
    LightSetting row;
    if (!db.GetLightSetting(profile, mode, row))
        return std::nullopt;
    LightingValues values;
    values.mode = row.mode;
    values.brightness = row.brightness;
    values.speed = row.speed;
    values.colours = row.colors;
    return BuildLightingCommand(values);
}

Command DpiStagesCommand(const ProfileValues& values, int sensor, DpiLimits limits) {
    return BuildDpiStagesCommand(values.dpi, sensor, limits);
}

Command DpiColoursCommand(const ProfileValues& values) {
    return BuildDpiColoursCommand(values.colours);
}

Command ReportRateCommand(const ProfileValues& values) {
    return BuildReportRateCommand(values.reportRate);
}

Command LiftSensorCommand(const ProfileValues& values) {
    return BuildLiftSensorCommand(values.liftoffHeight, values.sensorFlag);
}

Command PowerCommand(const ProfileValues& values) {
    return BuildPowerCommand(values.power);
}

ProfileWrite ProfileWriteCommands(ConfigDatabase& db, int profile, int sensor, DpiLimits limits,
                                  bool hasLighting, int lightMode,
                                  std::span<const KeyAssignment> modelDefaults) {
    ProfileWrite write;
    for (ButtonMacro& macro : ProfileMacroCommands(db, profile)) {
        if (macro.commands.status == MacroBuildStatus::kOk)
            write.macros.push_back(std::move(macro));
        else
            write.refusedMacroKeys.push_back(macro.keyCode);
    }
    write.commands.push_back(
        ButtonFunctionsCommand(db, profile, modelDefaults, write.refusedMacroKeys));
    if (hasLighting) {
        if (auto lighting = LightingCommand(db, profile, lightMode))
            write.commands.push_back(*lighting);
    }
    const ProfileValues values = ReadProfileValues(db, profile);
    write.commands.push_back(DpiStagesCommand(values, sensor, limits));
    write.commands.push_back(DpiColoursCommand(values));
    write.commands.push_back(ReportRateCommand(values));
    write.commands.push_back(LiftSensorCommand(values));
    write.commands.push_back(PowerCommand(values));
    return write;
}

std::vector<SettingPair> SettingsToStore(const SettingsRead& read) {
    std::vector<SettingPair> pairs;
    const auto add = [&](std::u16string_view key, int value) {
        pairs.push_back({std::u16string(key), IntToText(value)});
    };
    if (read.reportRate) {
        add(setting_key::kReportRate, *read.reportRate);
        add(setting_key::kReportRateWireless, *read.reportRate);
    }
    if (read.dpiStages) {
        add(setting_key::kDpiFlag, read.dpiStages->count);
        add(setting_key::kDpiCount, read.dpiStages->count);
        add(setting_key::kDpiIndex, read.dpiStages->index);
        for (int i = 0; i < kDpiStageCount; ++i) {
            if (read.dpiStages->dpi[i])
                add(setting_key::DpiGroupValue(i), *read.dpiStages->dpi[i]);
        }
    }
    if (read.dpiColours) {
        for (int i = 0; i < kDpiStageCount; ++i) {
            add(setting_key::DpiGroupRgb(i), (*read.dpiColours)[i]);
        }
    }
    if (read.liftSensor) {
        add(setting_key::kLiftoffHeight, read.liftSensor->liftoffHeight);
        add(setting_key::kSensorFlag, read.liftSensor->sensorFlag);
    }
    if (read.power) {
        add(setting_key::kSleepLight, read.power->sleepLight);
        add(setting_key::kMoveWakeup, read.power->moveWakeup);
        add(setting_key::kMoveCloseLight, read.power->moveCloseLight);
        add(setting_key::kButtonRespondTime, read.power->buttonRespondTime);
    }
    return pairs;
}

}  // namespace cursorial
