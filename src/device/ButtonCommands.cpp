#include "device/ButtonCommands.h"

#include <algorithm>

#include "device/KeyTables.h"

namespace cursorial {
namespace {

// Entry bytes of a function, or nothing where a byte keeps its old value.
struct EntryBytes {
    int b0 = -1, b1 = -1, b2 = -1;  // -1: keep
};

// Rows of one function type for the values first, first + 1, ...; `other` for any other value.
struct EntryRows {
    std::span<const EntryBytes> rows;
    int first;
    EntryBytes other;

    EntryBytes For(int value) const {
        const long i = static_cast<long>(value) - first;
        if (i < 0 || i >= static_cast<long>(rows.size())) {
            return other;
        }
        return rows[static_cast<std::size_t>(i)];
    }
};

// Type 1, values 1..10: 0x10 with the HID mouse button bits (1 left, 2 right, 4 middle, 8 back,
// 16 forward), and the mouse's own codes.
constexpr EntryBytes kMouseRows[] = {
    {0x10, 0x01, 0x00}, {0x10, 0x04, 0x00}, {0x10, 0x02, 0x00}, {0x30, 0x32, 0x03},
    {0x10, 0x10, 0x00}, {0x10, 0x08, 0x00}, {0x20, 0x01, 0x00}, {0x20, 0xFF, 0x00},
    {0x10, 0x00, 0xF5}, {0x10, 0x00, 0xF6},
};
// Type 3, values 1..8: consumer usages 0x0183, 0xCD, 0xB7, 0xB6, 0xB5, 0xE9, 0xEA, 0xE2.
constexpr EntryBytes kMediaRows[] = {
    {0x80, 0x83, 0x01}, {0x80, 0xCD, 0x00}, {0x80, 0xB7, 0x00}, {0x80, 0xB6, 0x00},
    {0x80, 0xB5, 0x00}, {0x80, 0xE9, 0x00}, {0x80, 0xEA, 0x00}, {0x80, 0xE2, 0x00},
};
// Type 5, values 1..3.
constexpr EntryBytes kDpiRows[] = {{0x40, 0x02, 0x00}, {0x40, 0x03, 0x00}, {0x40, 0x01, 0x00}};
// Type 6, values 1..2: the third byte keeps its value.
constexpr EntryBytes kType6Rows[] = {{0x60, 0x04, -1}, {0x60, 0x01, -1}};
// Type 8, values 1..11: consumer usages 0x6F, 0x70, 0x0192, 0x0194, 0x0223, 0x018A (low byte
// first), then keyboard chords GUI + D, GUI + Tab, Ctrl + C, Ctrl + V, Ctrl + X.
constexpr EntryBytes kSystemRows[] = {
    {0x80, 0x6F, 0x00}, {0x80, 0x70, 0x00}, {0x80, 0x92, 0x01}, {0x80, 0x94, 0x01},
    {0x80, 0x23, 0x02}, {0x80, 0x8A, 0x01}, {0x70, 0x08, 0x07}, {0x70, 0x08, 0x2B},
    {0x70, 0x01, 0x06}, {0x70, 0x01, 0x19}, {0x70, 0x01, 0x1B},
};

constexpr EntryRows kMouse{kMouseRows, 1, {0x10, 0x00, 0x00}};
constexpr EntryRows kMedia{kMediaRows, 1, {0x80, 0x00, 0x00}};
constexpr EntryRows kDpi{kDpiRows, 1, {0x40, 0x00, 0x00}};
constexpr EntryRows kType6{kType6Rows, 1, {0x60, -1, -1}};
constexpr EntryRows kSystem{kSystemRows, 1, {0x80, 0x00, 0x00}};

// A key with modifier bits; a modifier key pressed alone goes out as its bit with no key.
EntryBytes KeyboardEntry(int usage, int modifiers) {
    if (modifiers == 0 && usage >= 0xE0 && usage <= 0xE7) {
        return {0x70, Low8(UsageModifierBits(usage)), 0x00};
    }
    return {0x70, Low8(modifiers), Low8(UsageModifierBits(usage))};
}

//   byte 0  0x90
//   byte 1  key code | 0x10 (play type 1, 3) | 0x40 (play type 2) | 0x20 (counted, count >= 1)
//   byte 2  play count when counted, else 0
EntryBytes MacroEntry(int keyCode, const MacroPlayback& macro) {
    int b1 = keyCode;
    int b2 = 0;
    if (macro.playType == 1 || macro.playType == 3) {
        b1 |= 0x10;
    } else if (macro.playType == 2) {
        b1 |= 0x40;
    } else if (macro.playCount >= 1) {
        b1 |= 0x20;
        b2 = Low8(macro.playCount);
    }
    return {0x90, Low8(b1), b2};
}

}  // namespace

ButtonTable DefaultButtonTable() {
    ButtonTable t{};
    const std::uint8_t defaults[] = {
        0x10, 0x01, 0x00,  // mouse button 1
        0x10, 0x02, 0x00,  // mouse button 2
        0x10, 0x04, 0x00,  // mouse button 3
        0x10, 0x08, 0x00,  // mouse button 4
        0x10, 0x10, 0x00,  // mouse button 5
        0x40, 0x01, 0x00,  // DPI function 1
    };
    std::copy(std::begin(defaults), std::end(defaults), t.begin());
    return t;
}

AssignOutcome ApplyAssignment(ButtonTable& table, const ButtonAssignment& a,
                              std::span<const MacroPlayback> macros) {
    // Only 21 entries exist (and only 0..8 reach the mouse); a stray key code must not write
    // past the table.
    if (a.keyCode < 0 || a.keyCode >= kButtonTableEntries)
        return AssignOutcome::kKeyCodeOutOfRange;

    EntryBytes e;
    switch (a.type) {
        case function_type::kMouse:
            e = kMouse.For(a.value);
            break;
        case function_type::kKeyboard:
            e = KeyboardEntry(a.value, a.second);
            break;
        case function_type::kMedia:
            e = kMedia.For(a.value);
            break;
        case function_type::kMacro: {
            const auto it = std::find_if(macros.begin(), macros.end(),
                                         [&](const MacroPlayback& m) { return m.id == a.value; });
            if (it == macros.end())
                return AssignOutcome::kKept;
            e = MacroEntry(a.keyCode, *it);
            break;
        }
        case function_type::kDpi:
            e = kDpi.For(a.value);
            break;
        case function_type::kType6:
            e = kType6.For(a.value);
            break;
        case function_type::kTwoValue:
            e = {0x30, Low8(a.value), Low8(a.second)};
            break;
        case function_type::kSystem:
            e = kSystem.For(a.value);
            break;
        case function_type::kDisabled:
            e = {0x60, 0x00, 0x00};
            break;
        default:
            return AssignOutcome::kKept;
    }
    const std::size_t at = 3 * static_cast<std::size_t>(a.keyCode);
    if (e.b0 >= 0)
        table[at] = static_cast<std::uint8_t>(e.b0);
    if (e.b1 >= 0)
        table[at + 1] = static_cast<std::uint8_t>(e.b1);
    if (e.b2 >= 0)
        table[at + 2] = static_cast<std::uint8_t>(e.b2);
    return AssignOutcome::kApplied;
}

ButtonTable BuildButtonTable(std::span<const ButtonAssignment> assignments,
                             std::span<const MacroPlayback> macros) {
    ButtonTable table = DefaultButtonTable();
    for (const auto& a : assignments)
        ApplyAssignment(table, a, macros);
    return table;
}

// 0x09  | 4: 0x0F | 5..31: table bytes 0..26 (key codes 0..8, three bytes each) |
Command BuildButtonTableCommand(const ButtonTable& table) {
    static_assert(std::size_t{3 * kButtonEntriesSent} == kPayloadCapacity,
                  "the sent entries fill the payload");
    Command c{MakeWriteReport(command::kButtonTable, 0x0F), SendLength::kShort};
    std::copy_n(table.begin(), 3 * kButtonEntriesSent, c.report.bytes.begin() + kPayloadByte);
    return c;
}

}  // namespace cursorial
