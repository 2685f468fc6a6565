// Compile-time checks of the key tables: the rows that follow a rule are checked against it, and
// no key appears twice (a duplicate would silently shadow the later row).
#include "device/KeyTables.h"

#include <cstddef>

namespace cursorial {
namespace {

template <typename Pair, std::size_t N, typename KeyOf>
constexpr bool NoDuplicateKeys(const Pair (&table)[N], KeyOf keyOf) {
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = i + 1; j < N; ++j) {
            if (keyOf(table[i]) == keyOf(table[j]))
                return false;
        }
    }
    return true;
}

constexpr bool RangeFollows(int firstKey, int lastKey, int firstUsage) {
    for (int key = firstKey; key <= lastKey; ++key) {
        if (UsageFromVirtualKey(key) != firstUsage + (key - firstKey))
            return false;
    }
    return true;
}

static_assert(NoDuplicateKeys(kVirtualKeyToUsage,
                              [](const KeyUsagePair& p) { return p.virtualKey; }));
static_assert(NoDuplicateKeys(kKeyToModifierBit, [](const ModifierBitPair& p) { return p.key; }));
static_assert(RangeFollows(0x41, 0x5A, 0x04), "A..Z");
static_assert(RangeFollows(0x31, 0x39, 0x1E), "1..9");
static_assert(RangeFollows(0x70, 0x7B, 0x3A), "F1..F12");
static_assert(RangeFollows(0x7C, 0x87, 0x68), "F13..F24");
static_assert(RangeFollows(0x61, 0x69, 0x59), "keypad 1..9");
static_assert(UsageFromVirtualKey(0x07) == 0 && UsageFromVirtualKey(-1) == 0);
static_assert(ModifierBits(0xA0) == 0x02 && ModifierBits(0xE1) == 0x02 &&
              ModifierBits(0x5D) == 0x5D);
static_assert(UsageModifierBits(0xE3) == 0x08 && UsageModifierBits(0x5B) == 0x5B &&
              UsageModifierBits(0xA0) == 0xA0);

}  // namespace
}  // namespace cursorial
