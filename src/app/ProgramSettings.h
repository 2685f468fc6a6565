// The program's own values in its per-user settings key (a KeyValueStore named after the
// application). All are decimal numbers stored as text.
#pragma once

#include <string_view>

#include "platform/KeyValueStore.h"

namespace cursorial {

// The chosen interface language id.
inline constexpr std::string_view kLanguageValueName = "LCID";
// The start-minimized box of the autostart option (0 or 1).
inline constexpr std::string_view kAutorunMinimizeValueName = "autorun_minimize";
// What the close button does: 1 hides the window, anything else ends the program.
inline constexpr std::string_view kExitModeValueName = "exit_mode";
// ("DeviceType", the selected model, belongs to the catalogue: catalogue/SelectedDeviceType.h.)

// The number stored under `name`; 0 when the key cannot be opened or the value is missing or
// not a number. Reading the language, autorun_minimize or exit_mode creates the empty key when
// it does not exist yet, so the writes that follow have a key to go into.
int ReadProgramValue(const KeyValueStore& settings, std::string_view name);
// Stores the number in the existing key; when the key cannot be opened nothing is written and
// nothing is reported.
void WriteProgramValue(const KeyValueStore& settings, std::string_view name, int value);
// The stored language id: as ReadProgramValue, but 2052 when the key is in the way or is
// missing and cannot be created.
int ReadLanguageValue(const KeyValueStore& settings);

}  // namespace cursorial
