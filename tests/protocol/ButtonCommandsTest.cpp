#include "device/ButtonCommands.h"

#include <vector>

#include "GoldenBytes.h"

namespace cursorial {
namespace {

using testing::Bytes;
using testing::SameBytes;
using testing::Slice;
namespace ft = function_type;

// Entry bytes of key code 2 after applying one assignment to a table whose entry holds AA AA AA,
// so that a byte the encoding keeps shows as AA.
Bytes EntryAfter(int type, int value, int second, std::span<const MacroPlayback> macros = {}) {
    ButtonTable table{};
    table.fill(0xAA);
    ApplyAssignment(table, {2, type, value, second}, macros);
    return Slice(table, 6, 3);
}

TEST(ButtonTable, DefaultTableIsSentWithoutAssignments) {
    const Command c = BuildButtonTableCommand(BuildButtonTable({}, {}));
    EXPECT_TRUE(
        SameBytes(Slice(c.report, 0, 33), {0x00, 0x09, 0x00, 0x01, 0x0F,                          //
                                           0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00,  //
                                           0x10, 0x08, 0x00, 0x10, 0x10, 0x00, 0x40, 0x01, 0x00,  //
                                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
                                           0x00}));
    EXPECT_EQ(c.Length(), 33u);
}

TEST(ButtonTable, EveryFunctionTypeAndValue) {
    struct Case {
        int type, value, second;
        Bytes entry;
    } cases[] = {
        // mouse functions
        {ft::kMouse, 1, 0, {0x10, 0x01, 0x00}},
        {ft::kMouse, 2, 0, {0x10, 0x04, 0x00}},
        {ft::kMouse, 3, 0, {0x10, 0x02, 0x00}},
        {ft::kMouse, 4, 0, {0x30, 0x32, 0x03}},
        {ft::kMouse, 5, 0, {0x10, 0x10, 0x00}},
        {ft::kMouse, 6, 0, {0x10, 0x08, 0x00}},
        {ft::kMouse, 7, 0, {0x20, 0x01, 0x00}},
        {ft::kMouse, 8, 0, {0x20, 0xFF, 0x00}},
        {ft::kMouse, 9, 0, {0x10, 0x00, 0xF5}},
        {ft::kMouse, 10, 0, {0x10, 0x00, 0xF6}},
        {ft::kMouse, 0, 0, {0x10, 0x00, 0x00}},
        {ft::kMouse, 11, 0, {0x10, 0x00, 0x00}},
        // keyboard: value = usage, second = modifier bits
        {ft::kKeyboard, 0x04, 0x02, {0x70, 0x02, 0x04}},
        {ft::kKeyboard, 0xE1, 0x00, {0x70, 0x02, 0x00}},    // left Shift alone
        {ft::kKeyboard, 0xE7, 0x00, {0x70, 0x80, 0x00}},    // right GUI alone
        {ft::kKeyboard, 0xE1, 0x01, {0x70, 0x01, 0x02}},    // Shift with Ctrl held
        {ft::kKeyboard, 0xE8, 0x00, {0x70, 0x00, 0xE8}},    // not a modifier usage
        {ft::kKeyboard, 0x104, 0x105, {0x70, 0x05, 0x04}},  // cut to bytes
        {ft::kKeyboard, 0, 0, {0x70, 0x00, 0x00}},
        // usages that share their number with a modifier's virtual key are keys, not modifiers
        {ft::kKeyboard, 0x5B, 0x00, {0x70, 0x00, 0x5B}},  // Keypad 3
        {ft::kKeyboard, 0x5C, 0x02, {0x70, 0x02, 0x5C}},  // Shift + Keypad 4
        {ft::kKeyboard, 0xA2, 0x00, {0x70, 0x00, 0xA2}},
        // media
        {ft::kMedia, 1, 0, {0x80, 0x83, 0x01}},
        {ft::kMedia, 2, 0, {0x80, 0xCD, 0x00}},
        {ft::kMedia, 3, 0, {0x80, 0xB7, 0x00}},
        {ft::kMedia, 4, 0, {0x80, 0xB6, 0x00}},
        {ft::kMedia, 5, 0, {0x80, 0xB5, 0x00}},
        {ft::kMedia, 6, 0, {0x80, 0xE9, 0x00}},
        {ft::kMedia, 7, 0, {0x80, 0xEA, 0x00}},
        {ft::kMedia, 8, 0, {0x80, 0xE2, 0x00}},
        {ft::kMedia, 9, 0, {0x80, 0x00, 0x00}},
        // DPI functions
        {ft::kDpi, 1, 0, {0x40, 0x02, 0x00}},
        {ft::kDpi, 2, 0, {0x40, 0x03, 0x00}},
        {ft::kDpi, 3, 0, {0x40, 0x01, 0x00}},
        {ft::kDpi, 4, 0, {0x40, 0x00, 0x00}},
        // type 6 keeps what it does not set
        {ft::kType6, 1, 0, {0x60, 0x04, 0xAA}},
        {ft::kType6, 2, 0, {0x60, 0x01, 0xAA}},
        {ft::kType6, 5, 0, {0x60, 0xAA, 0xAA}},
        // two values
        {ft::kTwoValue, 5, 1, {0x30, 0x05, 0x01}},
        {ft::kTwoValue, 0x1FF, 0x100, {0x30, 0xFF, 0x00}},
        // system functions
        {ft::kSystem, 1, 0, {0x80, 0x6F, 0x00}},
        {ft::kSystem, 2, 0, {0x80, 0x70, 0x00}},
        {ft::kSystem, 3, 0, {0x80, 0x92, 0x01}},
        {ft::kSystem, 4, 0, {0x80, 0x94, 0x01}},
        {ft::kSystem, 5, 0, {0x80, 0x23, 0x02}},
        {ft::kSystem, 6, 0, {0x80, 0x8A, 0x01}},
        {ft::kSystem, 7, 0, {0x70, 0x08, 0x07}},
        {ft::kSystem, 8, 0, {0x70, 0x08, 0x2B}},
        {ft::kSystem, 9, 0, {0x70, 0x01, 0x06}},
        {ft::kSystem, 10, 0, {0x70, 0x01, 0x19}},
        {ft::kSystem, 11, 0, {0x70, 0x01, 0x1B}},
        {ft::kSystem, 12, 0, {0x80, 0x00, 0x00}},
        // disabled, and types the mouse does not know
        {ft::kDisabled, 1, 0, {0x60, 0x00, 0x00}},
        {0, 1, 0, {0xAA, 0xAA, 0xAA}},
        {10, 1, 0, {0xAA, 0xAA, 0xAA}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SameBytes(EntryAfter(c.type, c.value, c.second), c.entry))
            << "type " << c.type << " value " << c.value << " second " << c.second;
    }
}

TEST(ButtonTable, MacroEntriesByPlayMode) {
    const MacroPlayback macros[] = {
        {7, 1, 0}, {8, 2, 5}, {9, 0, 3}, {10, 0, 0}, {11, 3, 0}, {12, 5, 300},
    };
    struct Case {
        int macroId;
        Bytes entry;
    } cases[] = {
        {7, {0x90, 0x12, 0x00}},   // play type 1
        {8, {0x90, 0x42, 0x00}},   // play type 2; count not sent
        {9, {0x90, 0x22, 0x03}},   // counted
        {10, {0x90, 0x02, 0x00}},  // count 0: nothing more
        {11, {0x90, 0x12, 0x00}},  // play type 3
        {12, {0x90, 0x22, 0x2C}},  // count cut to a byte
        {99, {0xAA, 0xAA, 0xAA}},  // deleted macro: entry kept
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SameBytes(EntryAfter(ft::kMacro, c.macroId, 0, macros), c.entry))
            << "macro " << c.macroId;
    }
}

TEST(ButtonTable, LaterAssignmentForTheSameKeyWins) {
    const ButtonAssignment assignments[] = {
        {0, ft::kDisabled, 1, 0},
        {8, ft::kKeyboard, 0x04, 0x02},
        {0, ft::kMouse, 3, 0},
        {9, ft::kMouse, 1, 0},  // in the table but beyond what the report carries
    };
    const ButtonTable table = BuildButtonTable(assignments, {});
    EXPECT_TRUE(SameBytes(Slice(table, 0, 3), {0x10, 0x02, 0x00}));
    EXPECT_TRUE(SameBytes(Slice(table, 27, 3), {0x10, 0x01, 0x00}));
    const Command c = BuildButtonTableCommand(table);
    EXPECT_TRUE(SameBytes(Slice(c.report, 29, 4), {0x70, 0x02, 0x04, 0x00}));
}

TEST(ButtonTable, KeyCodesOutsideTheTableAreIgnored) {
    const ButtonTable defaults = DefaultButtonTable();
    for (int keyCode : {21, 22, 1000, -1}) {
        ButtonTable table = defaults;
        EXPECT_EQ(ApplyAssignment(table, {keyCode, ft::kDisabled, 1, 0}, {}),
                  AssignOutcome::kKeyCodeOutOfRange)
            << keyCode;
        EXPECT_EQ(table, defaults) << keyCode;
    }
    ButtonTable table = defaults;
    EXPECT_EQ(ApplyAssignment(table, {20, ft::kDisabled, 1, 0}, {}), AssignOutcome::kApplied);
    EXPECT_TRUE(SameBytes(Slice(table, 60, 3), {0x60, 0x00, 0x00}));
}

}  // namespace
}  // namespace cursorial
