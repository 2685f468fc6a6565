#include "device/MacroCommands.h"

#include <string>
#include <vector>

#include "GoldenBytes.h"

namespace cursorial {
namespace {

using testing::Bytes;
using testing::SameBytes;
using testing::Slice;
namespace ev = macro_event;

constexpr int kA = 0x41;
constexpr int kB = 0x42;

TEST(MacroEvents, EncodingAndDelays) {
    struct Case {
        std::string name;
        std::vector<MacroStep> steps;
        Bytes events;
    } cases[] = {
        {"key down, delay, key up: the last event keeps delay 1",
         {{ev::kKeyDown, kA}, {ev::kDelay, 50}, {ev::kKeyUp, kA}},
         {0x30, 0x32, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}},
        {"leading delay goes to the first event; a trailing 0 stays 0",
         {{ev::kDelay, 20}, {ev::kKeyDown, kA}, {ev::kKeyUp, kA}, {ev::kDelay, 0}},
         {0x30, 0x14, 0x00, 0x04, 0xB0, 0x00, 0x00, 0x04}},
        {"consecutive delays are summed; events without delay get 1",
         {{ev::kKeyDown, kA},
          {ev::kKeyUp, kA},
          {ev::kDelay, 200},
          {ev::kDelay, 100},
          {ev::kKeyDown, kB},
          {ev::kDelay, 7}},
         {0x30, 0x01, 0x00, 0x04, 0xB0, 0x2C, 0x01, 0x04, 0x30, 0x07, 0x00, 0x05}},
        {"leading delays on a lone event",
         {{ev::kDelay, 20}, {ev::kKeyDown, kA}},
         {0x30, 0x14, 0x00, 0x04}},
        {"other kinds produce nothing and do not end a delay sum",
         {{ev::kKeyDown, kA}, {ev::kDelay, 10}, {7, 99}, {ev::kDelay, 5}, {ev::kKeyUp, kA}, {0, 1}},
         {0x30, 0x0F, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}},
        {"delay sums keep their low 16 bits",
         {{ev::kKeyDown, kA}, {ev::kDelay, 70000}, {ev::kKeyUp, kA}, {ev::kDelay, 65536}},
         {0x30, 0x70, 0x11, 0x04, 0xB0, 0x00, 0x00, 0x04}},
        {"modifier rows: Windows key and Shift as modifier bits",
         {{ev::kKeyDown, 0x5B}, {ev::kKeyDown, 0xA0}, {ev::kKeyUp, 0xA0}, {ev::kKeyUp, 0x5B}},
         {0x20, 0x01, 0x00, 0x08, 0x20, 0x01, 0x00, 0x02, 0xA0, 0x01, 0x00, 0x02, 0xA0, 0x01, 0x00,
          0x08}},
        {"0x5D, 0xA6 and 0xA7 fall into the modifier rows with their own code",
         {{ev::kKeyDown, 0x5D}, {ev::kKeyUp, 0xA6}, {ev::kKeyDown, 0xA7}},
         {0x20, 0x01, 0x00, 0x5D, 0xA0, 0x01, 0x00, 0xA6, 0x20, 0x01, 0x00, 0xA7}},
        {"the right Windows key is not in the modifier rows: a key event with its usage",
         {{ev::kKeyDown, 0x5C}, {ev::kKeyUp, 0x5C}},
         {0x30, 0x01, 0x00, 0xE7, 0xB0, 0x01, 0x00, 0xE7}},
        {"unknown keys encode as usage 0", {{ev::kKeyDown, 0x07}}, {0x30, 0x01, 0x00, 0x00}},
        {"mouse buttons use the value's low byte",
         {{ev::kMouseDown, 1}, {ev::kDelay, 30}, {ev::kMouseUp, 0x110}},
         {0x10, 0x1E, 0x00, 0x01, 0x90, 0x01, 0x00, 0x10}},
        {"only delays", {{ev::kDelay, 100}, {ev::kDelay, 5}}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SameBytes(EncodeMacroEvents(c.steps), c.events)) << c.name;
    }
}

TEST(MacroCommand, ShortMacroInOneReport) {
    const MacroStep steps[] = {{ev::kKeyDown, kA}, {ev::kDelay, 50}, {ev::kKeyUp, kA}};
    const MacroCommands m = BuildMacroCommands(3, steps);
    ASSERT_EQ(m.status, MacroBuildStatus::kOk);
    ASSERT_EQ(m.commands.size(), 1u);
    EXPECT_EQ(m.eventCount, 2);
    EXPECT_TRUE(
        SameBytes(m.commands[0].report.bytes, testing::Padded({0x00, 0x08, 0x00, 0x01, 9, 0x03,  //
                                                               0x30, 0x32, 0x00, 0x04,           //
                                                               0xB0, 0x01, 0x00, 0x04})));
    EXPECT_EQ(m.commands[0].Length(), 33u);

    // No key or mouse events: the key code alone.
    const MacroStep delays[] = {{ev::kDelay, 100}};
    const MacroCommands empty = BuildMacroCommands(5, delays);
    ASSERT_EQ(empty.commands.size(), 1u);
    EXPECT_TRUE(
        SameBytes(Slice(empty.commands[0].report, 0, 7), {0x00, 0x08, 0x00, 0x01, 1, 0x05, 0x00}));
}

// n alternating key events of A, without delays.
std::vector<MacroStep> KeyEvents(int n) {
    std::vector<MacroStep> steps;
    for (int i = 0; i < n; ++i)
        steps.push_back({i % 2 ? ev::kKeyUp : ev::kKeyDown, kA});
    return steps;
}

TEST(MacroCommand, SevenEventsInTwoPacketsWithStaleBytes) {
    const MacroCommands m = BuildMacroCommands(2, KeyEvents(7));
    ASSERT_EQ(m.status, MacroBuildStatus::kOk);
    ASSERT_EQ(m.commands.size(), 2u);
    const CommandReport& first = m.commands[0].report;
    const CommandReport& last = m.commands[1].report;

    const Bytes data = BuildMacroData(2, KeyEvents(7));
    ASSERT_EQ(data.size(), 29u);
    EXPECT_TRUE(SameBytes(Slice(first, 0, 5), {0x00, 0x08, 0x00, 0x02, 27}));
    EXPECT_TRUE(SameBytes(Slice(first, 5, 27), Slice(data, 0, 27)));

    // Bytes 5..6 are the data's last two bytes (delay high, code); 7..31 still hold packet 0's.
    EXPECT_TRUE(SameBytes(Slice(last, 0, 7), {0x00, 0x08, 0x00, 0x12, 2, 0x00, 0x04}));
    EXPECT_TRUE(SameBytes(Slice(last, 7, 25), Slice(first, 7, 25)));
    EXPECT_EQ(last[kChecksumByte], 0);  // the transport writes it
    for (const auto& c : m.commands)
        EXPECT_EQ(c.Length(), 33u);
}

TEST(MacroCommand, PacketCountAtTheLimits) {
    // 20 events: 81 bytes, exactly three full packets.
    const MacroCommands three = BuildMacroCommands(0, KeyEvents(20));
    ASSERT_EQ(three.commands.size(), 3u);
    EXPECT_EQ(three.commands[2].report[kSequenceByte], 0x23);
    EXPECT_EQ(three.commands[2].report[kLengthByte], 27);

    // 101 events: 405 bytes, the largest sequence the nibble can number.
    const MacroCommands longest = BuildMacroCommands(0, KeyEvents(101));
    ASSERT_EQ(longest.status, MacroBuildStatus::kOk);
    ASSERT_EQ(longest.commands.size(), 15u);
    EXPECT_EQ(longest.commands[14].report[kSequenceByte], 0xEF);
    EXPECT_EQ(longest.commands[14].report[kLengthByte], 27);

    // One more would need a 16th packet: refused, nothing to send.
    const MacroCommands tooLong = BuildMacroCommands(0, KeyEvents(102));
    EXPECT_EQ(tooLong.status, MacroBuildStatus::kTooLong);
    EXPECT_EQ(tooLong.eventCount, 102);
    EXPECT_TRUE(tooLong.commands.empty());
    EXPECT_EQ(BuildMacroCommands(0, KeyEvents(300)).status, MacroBuildStatus::kTooLong);
}

}  // namespace
}  // namespace cursorial
