#include "exchange/ProfileCommands.h"

#include <string>

#include "common/text/WideText.h"
#include "device/ButtonCommands.h"
#include "device/LightingCommands.h"
#include "device/SettingsCommands.h"
#include "store/ConfigDatabase.h"

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

}  // namespace

std::function<int(std::u16string_view key)> StoreSettingReader(ConfigDatabase& db, int profile) {
    return [&db, profile](std::u16string_view key) {
        std::u16string value;
        db.GetConfigValue(profile, key, value);
        return TextToInt(value);
    };
}

Command ButtonFunctionsCommand(ConfigDatabase& db, int profile,
                               std::span<const KeyAssignment> modelDefaults) {
    std::vector<KeyAssignment> stored;
    db.ListKeyAssignments(profile, stored);
    std::vector<ButtonAssignment> assignments;
    assignments.reserve(modelDefaults.size() + stored.size());
    for (const KeyAssignment& k : modelDefaults) {
        assignments.push_back({k.keyCode, k.type, k.value, k.value2});
    }
    for (const KeyAssignment& k : stored) {
        assignments.push_back({k.keyCode, k.type, k.value, k.value2});
    }
    const std::vector<MacroPlayback> macros = AllMacros(db);
    return BuildButtonTableCommand(BuildButtonTable(assignments, macros));
}

std::optional<MacroCommands> PendingMacroCommands(ConfigDatabase& db, int profile, int keyCode) {
    if (keyCode < 0)
        return std::nullopt;
    std::vector<KeyAssignment> stored;
    db.ListKeyAssignments(profile, stored);
    for (const KeyAssignment& k : stored) {
        if (k.type != function_type::kMacro || k.keyCode != keyCode)
            continue;
        Macro macro;
        if (!db.GetMacro(k.value, macro))
            return std::nullopt;
        std::vector<MacroEvent> events;
        db.ListMacroEvents(macro.id, events);
        std::vector<MacroStep> steps;
        steps.reserve(events.size());
        for (const MacroEvent& e : events)
            steps.push_back({e.kind, e.value});
        return BuildMacroCommands(keyCode, steps);
    }
    return std::nullopt;
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

Command DpiStagesCommand(ConfigDatabase& db, int profile, int sensor, DpiLimits limits) {
    return BuildDpiStagesCommand(ReadDpiStageSettings(StoreSettingReader(db, profile)), sensor,
                                 limits);
}

Command DpiColoursCommand(ConfigDatabase& db, int profile) {
    return BuildDpiColoursCommand(ReadDpiColours(StoreSettingReader(db, profile)));
}

Command ReportRateCommand(ConfigDatabase& db, int profile) {
    return BuildReportRateCommand(StoreSettingReader(db, profile)(setting_key::kReportRate));
}

Command LiftSensorCommand(ConfigDatabase& db, int profile) {
    const SettingReader read = StoreSettingReader(db, profile);
    return BuildLiftSensorCommand(read(setting_key::kLiftoffHeight),
                                  read(setting_key::kSensorFlag));
}

Command PowerCommand(ConfigDatabase& db, int profile) {
    return BuildPowerCommand(ReadPowerSettings(StoreSettingReader(db, profile)));
}

std::vector<Command> ProfileWriteCommands(ConfigDatabase& db, int profile, int sensor,
                                          DpiLimits limits, bool hasLighting, int lightMode,
                                          std::span<const KeyAssignment> modelDefaults) {
    std::vector<Command> commands;
    commands.push_back(ButtonFunctionsCommand(db, profile, modelDefaults));
    if (hasLighting) {
        if (auto lighting = LightingCommand(db, profile, lightMode)) {
            commands.push_back(*lighting);
        }
    }
    commands.push_back(DpiStagesCommand(db, profile, sensor, limits));
    commands.push_back(DpiColoursCommand(db, profile));
    commands.push_back(ReportRateCommand(db, profile));
    commands.push_back(LiftSensorCommand(db, profile));
    commands.push_back(PowerCommand(db, profile));
    return commands;
}

}  // namespace cursorial
