#include "device/SettingsCommands.h"

#include <map>

#include "GoldenBytes.h"

namespace cursorial {
namespace {

using testing::Padded;
using testing::SameBytes;

TEST(SettingsCommands, ReportRateIsSentLong) {
    const Command c = BuildReportRateCommand(report_rate::k8000Hz);
    EXPECT_TRUE(SameBytes(c.report.bytes, Padded({0x00, 0x02, 0x00, 0x01, 0x01, 0x40})));
    EXPECT_EQ(c.Length(), 65u);
}

TEST(SettingsCommands, DpiStagesAreClampedEncodedAndDoubled) {
    // Sensor 17: 30000 is above the highest DPI and 10 below the lowest.
    DpiStageSettings s{4, 1, {800, 12000, 13000, 30000, 10, 1600}};
    const Command c = BuildDpiStagesCommand(s, 17, SensorProfileFor(17).limits);
    EXPECT_TRUE(SameBytes(c.report.bytes, Padded({0x00, 0x03, 0x00, 0x01, 0x25, 0x14,  //
                                                  0x10, 0x00, 0x10, 0x00,              // 800 -> 16
                                                  0xDC, 0x00, 0xDC, 0x00,      // 12000 -> 220
                                                  0xDD, 0x00, 0xDD, 0x00,      // 13000 -> 221
                                                  0xE8, 0x00, 0xE8, 0x00,      // 24000 -> 232
                                                  0x01, 0x00, 0x01, 0x00,      // 50 -> 1
                                                  0x20, 0x00, 0x20, 0x00})));  // 1600 -> 32
    EXPECT_EQ(c.Length(), 33u);
}

TEST(SettingsCommands, DpiStagesLengthByteAndWideCodes) {
    // One stage in use still says 0x25; a code above 255 goes out little-endian.
    DpiStageSettings s{1, 0, {35000, 100, 100, 100, 100, 100}};
    const Command c = BuildDpiStagesCommand(s, 150, SensorProfileFor(150).limits);
    EXPECT_EQ(c.report[kLengthByte], 0x25);
    EXPECT_EQ(c.report[5], 0x01);
    EXPECT_TRUE(SameBytes(testing::Slice(c.report, 6, 8),
                          {0xBB, 0x02, 0xBB, 0x02, 0x01, 0x00, 0x01, 0x00}));
}

TEST(SettingsCommands, DpiStageNibblesOverflowAsOnTheWire) {
    struct {
        int index, count;
        std::uint8_t byte5;
    } cases[] = {{0, 6, 0x06}, {5, 6, 0x56}, {1, 16, 0x10}, {17, 3, 0x13}, {0, 0, 0x00}};
    for (const auto& k : cases) {
        DpiStageSettings s{k.count, k.index, {}};
        EXPECT_EQ(BuildDpiStagesCommand(s, 0, {}).report[5], k.byte5)
            << "index " << k.index << " count " << k.count;
    }
}

TEST(SettingsCommands, ColoursAreRedGreenBlue) {
    const Command c = BuildDpiColoursCommand({16711680, 0x123456, 255, 0x00FF00, 0x7FFFFFFF, 0});
    EXPECT_TRUE(SameBytes(c.report.bytes, Padded({0x00, 0x04, 0x00, 0x01, 18,  //
                                                  0x00, 0x00, 0xFF,            // pure blue
                                                  0x56, 0x34, 0x12,            //
                                                  0xFF, 0x00, 0x00,            // red
                                                  0x00, 0xFF, 0x00,            // green
                                                  0xFF, 0xFF, 0xFF,  // bits above 23 dropped
                                                  0x00, 0x00, 0x00})));
    EXPECT_EQ(c.Length(), 65u);
}

TEST(SettingsCommands, SensorFlagBitsEightAndFour) {
    struct {
        int flag;
        std::uint8_t byte6, byte7;
    } cases[] = {{12, 1, 1}, {53, 0, 1}, {8, 1, 0}, {16, 0, 0}, {0, 0, 0}};
    for (const auto& k : cases) {
        const Command c = BuildLiftSensorCommand(2, k.flag);
        EXPECT_TRUE(
            SameBytes(c.report.bytes, Padded({0x00, 0x06, 0x00, 0x01, 5, 2, k.byte6, k.byte7})))
            << "sensor_flag " << k.flag;
        EXPECT_EQ(c.Length(), 65u);
    }
}

TEST(SettingsCommands, PowerAndFactoryReset) {
    const Command power = BuildPowerCommand({6, 1, 0, 300});
    EXPECT_TRUE(
        SameBytes(power.report.bytes, Padded({0x00, 0x07, 0x00, 0x01, 4, 6, 1, 0, 300 & 0xFF})));
    EXPECT_EQ(power.Length(), 65u);

    const Command reset = BuildFactoryResetCommand();
    EXPECT_TRUE(SameBytes(reset.report.bytes, Padded({0x00, 0x0F, 0x00, 0x01, 0x01, 0xFF})));
    EXPECT_EQ(reset.Length(), 33u);
}

}  // namespace
}  // namespace cursorial
