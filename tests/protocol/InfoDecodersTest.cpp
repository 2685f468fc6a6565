#include "device/InfoDecoders.h"

#include <initializer_list>
#include <utility>

#include "GoldenBytes.h"
#include "common/text/WideText.h"
#include "exchange/ProfileCommands.h"

namespace cursorial {
namespace {

// An answer buffer as the transport leaves it: command at 0, status 0, the given bytes placed.
CommandReport Answer(std::uint8_t cmd,
                     std::initializer_list<std::pair<std::size_t, std::uint8_t>> placed) {
    CommandReport r;
    r[kAnswerCommandByte] = cmd;
    for (const auto& [at, value] : placed)
        r[at] = value;
    return r;
}

TEST(InfoDecoders, DeviceInformation) {
    const CommandReport a = Answer(0x10, {{4, 'A'},
                                          {5, 'E'},
                                          {6, '0'},
                                          {7, '1'},
                                          {8, 0x11},
                                          {9, 0x22},
                                          {10, 17},
                                          {11, 0x40},
                                          {12, 1},
                                          {13, 0x5A},
                                          {14, 1}});
    const auto info = DecodeDeviceInfo(a.bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->identifier, u"AE01");
    EXPECT_EQ(info->byte8, 0x11);
    EXPECT_EQ(info->byte9, 0x22);
    EXPECT_EQ(info->sensor, 17);
    EXPECT_EQ(info->highestRate, 0x40);
    EXPECT_EQ(info->chargeState, 1);
    EXPECT_EQ(info->batteryLevel, 0x5A);
    EXPECT_EQ(info->connected, 1);
}

TEST(InfoDecoders, IdentifierBytesAreSignedCharacters) {
    const CommandReport a = Answer(0x10, {{4, 0x80}, {5, 0xFF}, {6, 0x41}, {7, 0x7F}});
    EXPECT_EQ(DeviceIdentifierFromInfo(a.bytes),
              (std::u16string{char16_t(0xFF80), char16_t(0xFFFF), u'A', char16_t(0x7F)}));
    // Zero bytes stay characters: the identifier is always four long.
    EXPECT_EQ(DeviceIdentifierFromInfo(Answer(0x10, {}).bytes).size(), 4u);
}

TEST(InfoDecoders, ShortBuffersDecodeToNothing) {
    const std::uint8_t shortAnswer[32] = {0x10, 0x00, 0, 0, 'A', 'E', '0', '1'};
    EXPECT_FALSE(DecodeDeviceInfo(shortAnswer));
    EXPECT_FALSE(DecodeDpiStages(shortAnswer, 17));
    EXPECT_FALSE(DecodePower(shortAnswer));
    EXPECT_EQ(DeviceIdentifierFromInfo(std::span(shortAnswer, 7)), u"");
    SettingsRead read;
    EXPECT_FALSE(AddSettingsAnswer(read, command::kReadReportRate, shortAnswer, 17));
    EXPECT_FALSE(read.reportRate);
}

TEST(InfoDecoders, DpiStagesAreTakenFromTheSynchronisationOffsets) {
    // First codes 10..15 (500..750 DPI for sensor 17) at 5 + 4i, second codes 20..25 at 7 + 4i:
    // stage 1 reads its second code, stages 2..6 their first.
    CommandReport a = Answer(0x13, {{4, 0x36}});
    for (std::size_t i = 0; i < 6; ++i) {
        a[5 + 4 * i] = static_cast<std::uint8_t>(10 + i);
        a[7 + 4 * i] = static_cast<std::uint8_t>(20 + i);
    }
    auto read = DecodeDpiStages(a.bytes, 17);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->index, 3);
    EXPECT_EQ(read->count, 6);
    const int expected[] = {1000, 550, 600, 650, 700, 750};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(read->dpi[i].value_or(-1), expected[i]) << i;

    // A stage decoding below 50 is not stored; a 16-bit code is little-endian.
    a[13] = 0;
    a[25] = 0xDD;
    a[26] = 0x00;
    read = DecodeDpiStages(a.bytes, 17);
    EXPECT_FALSE(read->dpi[2]);
    EXPECT_EQ(read->dpi[5].value_or(-1), 13000);
    a[25] = 0x4F;
    a[26] = 0x02;  // 591 for sensor 150: 29550
    EXPECT_EQ(DecodeDpiStages(a.bytes, 150)->dpi[5].value_or(-1), 29550);
    // Sensors whose code 0 decodes to 50 do store it.
    EXPECT_EQ(DecodeDpiStages(a.bytes, 149)->dpi[2].value_or(-1), 50);
}

TEST(InfoDecoders, ColoursLightingOptionsPowerFirmware) {
    const CommandReport colours =
        Answer(0x14, {{4, 0x00}, {5, 0x00}, {6, 0xFF}, {19, 0x56}, {20, 0x34}, {21, 0x12}});
    const auto c = DecodeDpiColours(colours.bytes);
    ASSERT_TRUE(c);
    EXPECT_EQ((*c)[0], 16711680);
    EXPECT_EQ((*c)[5], 0x123456);
    EXPECT_EQ((*c)[1], 0);

    const auto light = DecodeLighting(Answer(0x15, {{4, 2}, {5, 0x3A}}).bytes);
    ASSERT_TRUE(light);
    EXPECT_EQ(light->mode, 2);
    EXPECT_EQ(light->brightness, 3);
    EXPECT_EQ(light->speed, 10);

    struct {
        std::uint8_t b5, b6;
        int flag;
    } options[] = {{1, 1, 12}, {1, 0, 8}, {0, 1, 4}, {2, 2, 0}, {0, 0, 0}};
    for (const auto& o : options) {
        const auto ls = DecodeLiftSensor(Answer(0x16, {{4, 2}, {5, o.b5}, {6, o.b6}}).bytes);
        ASSERT_TRUE(ls);
        EXPECT_EQ(ls->liftoffHeight, 2);
        EXPECT_EQ(ls->sensorFlag, o.flag) << int(o.b5) << "," << int(o.b6);
    }

    const auto power = DecodePower(Answer(0x17, {{4, 60}, {5, 1}, {6, 0}, {7, 8}}).bytes);
    ASSERT_TRUE(power);
    EXPECT_EQ(power->sleepLight, 60);
    EXPECT_EQ(power->moveWakeup, 1);
    EXPECT_EQ(power->moveCloseLight, 0);
    EXPECT_EQ(power->buttonRespondTime, 8);

    const auto fw = DecodeFirmwareVersion(Answer(0x20, {{4, 1}, {5, 5}}).bytes);
    ASSERT_TRUE(fw);
    EXPECT_EQ(fw->major, 1);
    EXPECT_EQ(fw->minor, 5);
}

TEST(InfoDecoders, FullReadBecomesSettingsInWriteOrder) {
    SettingsRead read;
    const int sensor = 17;
    CommandReport stages = Answer(0x13, {{4, 0x13}, {7, 16}, {9, 32}, {17, 220}});
    EXPECT_FALSE(AddSettingsAnswer(read, command::kReadPrepare, Answer(0x11, {}).bytes, sensor));
    EXPECT_TRUE(
        AddSettingsAnswer(read, command::kReadReportRate, Answer(0x12, {{4, 1}}).bytes, sensor));
    EXPECT_TRUE(AddSettingsAnswer(read, command::kReadDpiStages, stages.bytes, sensor));
    EXPECT_TRUE(AddSettingsAnswer(read, command::kReadDpiColours,
                                  Answer(0x14, {{4, 0xFF}, {8, 0xFF}}).bytes, sensor));
    EXPECT_TRUE(AddSettingsAnswer(read, command::kReadLighting,
                                  Answer(0x15, {{4, 4}, {5, 0x21}}).bytes, sensor));
    // 0x16 failed: its settings are absent.
    EXPECT_TRUE(AddSettingsAnswer(read, command::kReadPower,
                                  Answer(0x17, {{4, 6}, {5, 1}, {6, 1}, {7, 12}}).bytes, sensor));
    ASSERT_TRUE(read.lighting);
    EXPECT_EQ(read.lighting->mode, 4);

    std::string listed;
    for (const auto& p : SettingsToStore(read)) {
        listed += ToUtf8(p.key) + "=" + ToUtf8(p.value) + "\n";
    }
    EXPECT_EQ(listed,
              "report_rate=1\n"
              "report_rate_wireless=1\n"
              "dpi_flag=3\n"
              "dpi_count=3\n"
              "dpi_index=1\n"
              "dpi_group0_value=800\n"
              "dpi_group1_value=1600\n"
              "dpi_group3_value=12000\n"
              "dpi_group0_rgb=255\n"
              "dpi_group1_rgb=65280\n"
              "dpi_group2_rgb=0\n"
              "dpi_group3_rgb=0\n"
              "dpi_group4_rgb=0\n"
              "dpi_group5_rgb=0\n"
              "sleep_light=6\n"
              "move_wakeup=1\n"
              "move_closelight=1\n"
              "button_respondtime=12\n");
}

}  // namespace
}  // namespace cursorial
