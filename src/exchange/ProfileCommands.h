// The commands that write a stored profile to the mouse. The profile is read from the store once
// into plain values; the device layer's builders turn those into reports. The program's worker
// and cursorialctl share these, so both send the same bytes for the same profile.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/CommandReport.h"
#include "device/DpiCodec.h"
#include "device/InfoDecoders.h"
#include "device/MacroCommands.h"
#include "device/SettingsCommands.h"
#include "store/Records.h"

namespace cursorial {

class ConfigDatabase;

// The performance settings of a profile as numbers (a missing or non-numeric text reads 0).
struct ProfileValues {
    int reportRate = 0;
    DpiStageSettings dpi;
    std::array<int, kDpiStageCount> colours{};
    int liftoffHeight = 0;
    int sensorFlag = 0;
    PowerSettings power;
};
ProfileValues ReadProfileValues(ConfigDatabase& db, int profile);

// The macro data of one button, ready to send before the button table that names it.
struct ButtonMacro {
    int keyCode = 0;
    int macroId = 0;
    MacroCommands commands;  // status kTooLong: nothing may be sent, the table must not name it
};

// 0x09 (task 6): the mouse's default table, then the model's described default assignments,
// then the profile's stored assignments in list order. A button without a stored row carries
// its effective assignment, the described default. A stored macro assignment of a key in
// `withoutMacro` is left out, so that button keeps its default rather than naming a macro the
// mouse does not hold.
Command ButtonFunctionsCommand(ConfigDatabase& db, int profile,
                               std::span<const KeyAssignment> modelDefaults = {},
                               std::span<const int> withoutMacro = {});

// 0x08: the macro of the button `keyCode` (the button page's pending macro, task 6): the first
// assignment of the profile with that key code and type 4 whose macro exists. Nothing when the
// key code is negative, no such assignment exists or its macro is gone.
std::optional<ButtonMacro> PendingMacroCommands(ConfigDatabase& db, int profile, int keyCode);

// 0x08 for every button whose assignment in the profile (the last row of its key code) is a
// macro that exists, in key-code order.
std::vector<ButtonMacro> ProfileMacroCommands(ConfigDatabase& db, int profile);

// 0x05: marks `mode` as the profile's active lighting mode and builds the command from its row
// (task 8). Nothing when the profile has no row for the mode.
std::optional<Command> LightingCommand(ConfigDatabase& db, int profile, int mode);

// 0x03, 0x04, 0x02, 0x06, 0x07 (tasks 9 to 13) from the profile's values. The DPI stages are
// limited to the limits the mouse's sensor allows and encoded for it.
Command DpiStagesCommand(const ProfileValues& values, int sensor, DpiLimits limits);
Command DpiColoursCommand(const ProfileValues& values);
Command ReportRateCommand(const ProfileValues& values);
Command LiftSensorCommand(const ProfileValues& values);
Command PowerCommand(const ProfileValues& values);

// Writing the whole profile (task 5).
struct ProfileWrite {
    // Sent first: the macro of every button assigned one. A refused macro (too long) is not sent
    // and its button goes out with its default in the table below.
    std::vector<ButtonMacro> macros;
    // Then, in this order: button functions, lighting (models with lighting, when the active
    // mode has a row), DPI stages, DPI colours, report rate, lift-off and sensor, sleep and wake.
    std::vector<Command> commands;
    // Buttons whose macro could not go to the mouse.
    std::vector<int> refusedMacroKeys;
};
// `lightMode` is the mode the lighting page shows (the profile's active one); `modelDefaults`
// as for ButtonFunctionsCommand.
ProfileWrite ProfileWriteCommands(ConfigDatabase& db, int profile, int sensor, DpiLimits limits,
                                  bool hasLighting, int lightMode,
                                  std::span<const KeyAssignment> modelDefaults = {});

// One stored setting: key and its "%d" text.
struct SettingPair {
    std::u16string key;
    std::u16string value;
};

// The settings a read of the mouse stores, in the order the synchronisation writes them:
// report_rate, report_rate_wireless; dpi_flag, dpi_count, dpi_index, dpi_group0..5_value
// (stages of 50 DPI or more); dpi_group0..5_rgb; liftoff_height, sensor_flag; sleep_light,
// move_wakeup, move_closelight, button_respondtime. The lighting answer is a lighting record,
// not a setting, and is not part of the list.
std::vector<SettingPair> SettingsToStore(const SettingsRead& read);

}  // namespace cursorial
