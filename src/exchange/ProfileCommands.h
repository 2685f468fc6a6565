// The commands that write a stored profile to the mouse, each built from the store exactly as
// the worker's task for it builds it. The worker's tasks and cursorialctl share these, so the
// program and the tool send the same bytes for the same profile.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "device/CommandReport.h"
#include "device/DpiCodec.h"
#include "device/MacroCommands.h"
#include "store/Records.h"

namespace cursorial {

class ConfigDatabase;

// Settings of `profile` read as numbers (a missing or non-numeric text reads 0); a
// SettingReader of the settings commands.
std::function<int(std::u16string_view key)> StoreSettingReader(ConfigDatabase& db, int profile);

// 0x09 (task 6): the mouse's default table, then the model's described default assignments,
// then the profile's stored assignments in list order. A button without a stored row carries
// its effective assignment, the described default: for the mouse's first six buttons that is
// the table's own default, and a button beyond them keeps its function instead of going out as
// "none" the first time any button is changed.
Command ButtonFunctionsCommand(ConfigDatabase& db, int profile,
                               std::span<const KeyAssignment> modelDefaults = {});

// 0x08: the macro of the button `keyCode` (the button page's pending macro, task 6): the first
// assignment of the profile with that key code and type 4 whose macro exists. Nothing when the
// key code is negative, no such assignment exists or its macro is gone.
std::optional<MacroCommands> PendingMacroCommands(ConfigDatabase& db, int profile, int keyCode);

// 0x05: marks `mode` as the profile's active lighting mode and builds the command from its row
// (task 8). Nothing when the profile has no row for the mode.
std::optional<Command> LightingCommand(ConfigDatabase& db, int profile, int mode);

// 0x03, 0x04, 0x02, 0x06, 0x07 (tasks 9 to 13). The DPI stages are limited to the limits the
// mouse's sensor allows and encoded for it.
Command DpiStagesCommand(ConfigDatabase& db, int profile, int sensor, DpiLimits limits);
Command DpiColoursCommand(ConfigDatabase& db, int profile);
Command ReportRateCommand(ConfigDatabase& db, int profile);
Command LiftSensorCommand(ConfigDatabase& db, int profile);
Command PowerCommand(ConfigDatabase& db, int profile);

// Writing the whole profile (task 5): button functions, lighting (models with lighting, when
// the active mode has a row), DPI stages, DPI colours, report rate, lift-off and sensor, sleep
// and wake, in this order. `lightMode` is the mode the lighting page shows (the profile's
// active one); `modelDefaults` as for ButtonFunctionsCommand.
std::vector<Command> ProfileWriteCommands(ConfigDatabase& db, int profile, int sensor,
                                          DpiLimits limits, bool hasLighting, int lightMode,
                                          std::span<const KeyAssignment> modelDefaults = {});

}  // namespace cursorial
