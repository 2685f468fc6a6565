#include "device/CommandReport.h"
#include "device/KeyTables.h"

#include <iterator>
#include <vector>

#include <gtest/gtest.h>

namespace cursorial {
namespace {

TEST(CommandReport, ChecksumCoversExactlyThePayloadRange) {
    CommandReport r = MakeWriteReport(0x09, 0x0F);
    r[kLengthByte] = 2;  // a short length byte must not shorten the sum
    r[5] = 0x80;
    r[6] = 0x90;
    r[31] = 0x01;  // last covered byte
    r[2] = 0x55;   // status, sequence and command are not covered
    r[33] = 0x77;  // beyond the checksum
    WriteChecksum(r);
    EXPECT_EQ(r[kChecksumByte], (0x80 + 0x90 + 0x01) & 0xFF);

    // The sum wraps modulo 256.
    CommandReport full;
    for (std::size_t i = kPayloadByte; i < kChecksumByte; ++i)
        full[i] = 0xFF;
    WriteChecksum(full);
    EXPECT_EQ(full[kChecksumByte], (27 * 0xFF) & 0xFF);
}

TEST(CommandReport, ReadRequestSetsOnlyTheCommand) {
    const Command c = MakeReadCommand(command::kInfo);
    for (std::size_t i = 0; i < kCommandReportSize; ++i) {
        EXPECT_EQ(c.report[i], i == kCommandByte ? 0x10 : 0) << "byte " << i;
    }
    EXPECT_EQ(c.Length(), 33u);
}

TEST(KeyTables, UsagesOfTheIrregularRows) {
    struct {
        int key;
        int usage;
    } cases[] = {
        {0x30, 0x27}, {0x0D, 0x28}, {0x20, 0x2C}, {0xDC, 0x31}, {666, 0x32},  {0xBF, 0x38},
        {0x14, 0x39}, {0x13, 0x48}, {0x22, 0x4E}, {0x26, 0x52}, {0x6C, 0x58}, {0x60, 0x62},
        {0x6E, 0x63}, {0xE2, 0x64}, {0x5D, 0x65}, {0x5B, 0xE3}, {0x5C, 0xE7}, {0xFE, 0xAF},
        {0x8A, 0x8A}, {301, 0xEC},  {302, 0xEB},  {0x10, 0x00}, {0xA6, 0x00}, {0, 0x00},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UsageFromVirtualKey(c.key), c.usage) << c.key;
}

// Every row of the key table, written out group by group as the table lists them; the size check
// makes sure the table maps no key that is not listed here.
TEST(KeyTables, EveryListedRow) {
    struct Run {
        int firstKey, lastKey, firstUsage;
    };
    const Run runs[] = {
        {0x41, 0x5A, 0x04}, {0x31, 0x39, 0x1E}, {0x70, 0x7B, 0x3A},
        {0x7C, 0x87, 0x68}, {0x61, 0x69, 0x59}, {0x88, 0x8B, 0x88},
    };
    struct Row {
        std::vector<int> keys;
        std::vector<int> usages;
    };
    const Row rows[] = {
        {{0x30}, {0x27}},
        {{0x0D, 0x1B, 0x08, 0x09, 0x20}, {0x28, 0x29, 0x2A, 0x2B, 0x2C}},
        {{0xBD, 0xBB, 0xDB, 0xDD, 0xDC}, {0x2D, 0x2E, 0x2F, 0x30, 0x31}},
        {{666}, {0x32}},
        {{0xBA, 0xDE, 0xC0, 0xBC, 0xBE, 0xBF}, {0x33, 0x34, 0x35, 0x36, 0x37, 0x38}},
        {{0x14}, {0x39}},
        {{0x2C, 0x91, 0x13}, {0x46, 0x47, 0x48}},
        {{0x2D, 0x24, 0x21, 0x2E, 0x23, 0x22}, {0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E}},
        {{0x27, 0x25, 0x28, 0x26}, {0x4F, 0x50, 0x51, 0x52}},
        {{0x90, 0x6F, 0x6A, 0x6D, 0x6B, 0x6C}, {0x53, 0x54, 0x55, 0x56, 0x57, 0x58}},
        {{0x60, 0x6E}, {0x62, 0x63}},
        {{0xE2, 0x5D}, {0x64, 0x65}},
        {{0xA2, 0xA0, 0xA4, 0x5B}, {0xE0, 0xE1, 0xE2, 0xE3}},
        {{0xA3, 0xA1, 0xA5, 0x5C}, {0xE4, 0xE5, 0xE6, 0xE7}},
        {{0xFE}, {0xAF}},
        {{301, 302}, {0xEC, 0xEB}},
    };
    std::size_t listed = 0;
    for (const auto& run : runs) {
        for (int key = run.firstKey; key <= run.lastKey; ++key, ++listed)
            EXPECT_EQ(UsageFromVirtualKey(key), run.firstUsage + key - run.firstKey) << key;
    }
    for (const auto& row : rows) {
        ASSERT_EQ(row.keys.size(), row.usages.size());
        for (std::size_t i = 0; i < row.keys.size(); ++i, ++listed)
            EXPECT_EQ(UsageFromVirtualKey(row.keys[i]), row.usages[i]) << row.keys[i];
    }
    EXPECT_EQ(std::size(kVirtualKeyToUsage), listed);
}

TEST(KeyTables, ModifierBitsOfKeysAndUsages) {
    struct {
        int value;
        int bits;
    } cases[] = {
        {0, 0},
        {162, 0x01},
        {224, 0x01},
        {160, 0x02},
        {225, 0x02},
        {164, 0x04},
        {226, 0x04},
        {91, 0x08},
        {227, 0x08},
        {163, 0x10},
        {228, 0x10},
        {161, 0x20},
        {229, 0x20},
        {165, 0x40},
        {230, 0x40},
        {92, 0x80},
        {231, 0x80},
        // everything else passes through unchanged
        {0x04, 0x04},
        {0x5D, 0x5D},
        {0xA6, 0xA6},
        {300, 300},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModifierBits(c.value), c.bits) << c.value;
}

}  // namespace
}  // namespace cursorial
