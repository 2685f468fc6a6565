#include "device/LightingCommands.h"

#include "GoldenBytes.h"

namespace cursorial {
namespace {

using testing::Bytes;
using testing::Padded;
using testing::SameBytes;

constexpr std::array<int, 7> kColours{0x0000FF, 0x00FF00, 0xFF0000, 0x123456,
                                      0xABCDEF, 0x010203, 0xFFFFFF};

TEST(LightingCommand, EveryModeLayout) {
    struct Case {
        int mode;
        Bytes leading;
    } cases[] = {
        {0, {0x00, 0x05, 0x00, 0x01, 2, 0, 0x35}},
        {4, {0x00, 0x05, 0x00, 0x01, 2, 4, 0x35}},
        {5, {0x00, 0x05, 0x00, 0x01, 2, 5, 0x35}},
        {1, {0x00, 0x05, 0x00, 0x01, 3, 1, 0x35, 0x00}},
        {3, {0x00, 0x05, 0x00, 0x01, 5, 3, 0x35, 0xFF, 0x00, 0x00}},
        {2, {0x00, 0x05, 0x00, 0x01, 24,   2,    0x35, 7,                             //
             0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x56, 0x34, 0x12,  //
             0xEF, 0xCD, 0xAB, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0xFF}},
        {6, {0x00, 0x05, 0x00, 0x01, 0}},
        {-1, {0x00, 0x05, 0x00, 0x01, 0}},
    };
    for (const auto& c : cases) {
        const Command cmd = BuildLightingCommand({c.mode, 3, 5, kColours});
        Bytes expected = c.leading;
        expected.resize(65, 0);
        EXPECT_TRUE(SameBytes(cmd.report.bytes, expected)) << "mode " << c.mode;
        EXPECT_EQ(cmd.Length(), 65u);
    }
}

TEST(LightingCommand, BrightnessAndSpeedShareAByte) {
    EXPECT_EQ(BuildLightingCommand({0, 15, 15, {}}).report[6], 0xFF);
    EXPECT_EQ(BuildLightingCommand({0, 16, 1, {}}).report[6], 0x01);  // cut to a byte
    EXPECT_EQ(BuildLightingCommand({0, 0, 9, {}}).report[6], 0x09);
}

TEST(LightingCommand, ResetForms) {
    const Command page = BuildLightingResetCommand();
    EXPECT_TRUE(SameBytes(page.report.bytes, Padded({0x00, 0x0E, 0x00, 0x01, 0x01, 0x01})));
    EXPECT_EQ(page.Length(), 33u);
    const Command factory = BuildLightingFactoryResetCommand();
    EXPECT_TRUE(SameBytes(factory.report.bytes, Padded({0x00, 0x0E, 0x00, 0x01, 0x04, 0x42})));
    EXPECT_EQ(factory.Length(), 33u);
}

}  // namespace
}  // namespace cursorial
