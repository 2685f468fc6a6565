// The button function table (command 0x09): three bytes per button key code, built from the
// defaults and the profile's assignments.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "device/CommandReport.h"

namespace cursorial {

// Function types of a button assignment.
namespace function_type {
inline constexpr int kMouse = 1;
inline constexpr int kKeyboard = 2;
inline constexpr int kMedia = 3;
inline constexpr int kMacro = 4;
inline constexpr int kDpi = 5;
inline constexpr int kType6 = 6;
inline constexpr int kTwoValue = 7;
inline constexpr int kSystem = 8;
inline constexpr int kDisabled = 9;
}  // namespace function_type

inline constexpr int kButtonTableEntries = 21;
inline constexpr int kButtonEntriesSent = 9;  // key codes 0..8 fit the report
using ButtonTable = std::array<std::uint8_t, 3 * kButtonTableEntries>;

// One stored assignment, as far as the mouse is concerned.
struct ButtonAssignment {
    int keyCode = 0;  // the button's index, 0 = first button
    int type = 0;     // function_type
    int value = 0;
    int second = 0;
};

// A macro as the button table needs it: how it plays.
struct MacroPlayback {
    int id = 0;
    int playType = 0;
    int playCount = 0;
};

enum class AssignOutcome {
    kApplied,            // the entry was written (for some types only partly: the rest keeps)
    kKept,               // unknown type or a macro id that no longer exists: entry unchanged
    kKeyCodeOutOfRange,  // key code outside 0..20: ignored, the table is unchanged
};

// The table before any assignment: buttons 1..5 as mouse buttons 1..5, the sixth as DPI
// function 1, the rest unassigned.
ButtonTable DefaultButtonTable();

// Writes one assignment into the table. `macros` are all macros of the store; a macro
// assignment names one by id.
AssignOutcome ApplyAssignment(ButtonTable& table, const ButtonAssignment& assignment,
                              std::span<const MacroPlayback> macros);

// Defaults, then every assignment in list order (a later one for the same key code wins).
ButtonTable BuildButtonTable(std::span<const ButtonAssignment> assignments,
                             std::span<const MacroPlayback> macros);

// 0x09: the entries of key codes 0..8. Sent short.
Command BuildButtonTableCommand(const ButtonTable& table);

}  // namespace cursorial
