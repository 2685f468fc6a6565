#include "device/UpgradeReports.h"

#include <algorithm>
#include <numeric>

#include "GoldenBytes.h"

namespace cursorial {
namespace {

using testing::Bytes;
using testing::SameBytes;
using testing::Slice;

Bytes Image(std::size_t n) {
    Bytes image(n);
    std::iota(image.begin(), image.end(), std::uint8_t{0});
    return image;
}

// The 20 bytes a sub-block must hold: block number, the data padded with 0xFF, CRC.
Bytes SubBlock(std::uint16_t block, const Bytes& data) {
    Bytes s(18, 0xFF);
    s[0] = static_cast<std::uint8_t>(block);
    s[1] = static_cast<std::uint8_t>(block >> 8);
    std::copy(data.begin(), data.end(), s.begin() + 2);
    const std::uint16_t crc = Crc16Modbus(s);
    s.push_back(static_cast<std::uint8_t>(crc));
    s.push_back(static_cast<std::uint8_t>(crc >> 8));
    return s;
}

TEST(UpgradeReports, Crc16ModbusCheckValues) {
    const std::string check = "123456789";
    EXPECT_EQ(
        Crc16Modbus(std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size())),
        0x4B37);
    EXPECT_EQ(Crc16Modbus({}), 0xFFFF);
    const std::uint8_t one[] = {0x00};
    EXPECT_EQ(Crc16Modbus(one), 0x40BF);
}

TEST(UpgradeReports, StartAndFinish) {
    Bytes start(64, 0xFF);
    start[0] = 0x05, start[1] = 0x02, start[2] = 0x02, start[3] = 0x00, start[4] = 0x01;
    EXPECT_TRUE(SameBytes(MakeUpgradeStartReport(), start));
    Bytes finish(64, 0xFF);
    finish[0] = 0x05, finish[1] = 0x02, finish[2] = 0x06, finish[3] = 0x00, finish[4] = 0x02;
    EXPECT_TRUE(SameBytes(MakeUpgradeFinishReport(), finish));
}

TEST(UpgradeReports, HundredBytesMakeTwoFullReportsAndAShortOne) {
    const Bytes image = Image(100);
    const UpgradePlan plan = PlanImageTransfer(image);
    ASSERT_EQ(plan.status, UpgradePlanStatus::kOk);
    ASSERT_EQ(plan.steps.size(), 3u);

    for (std::size_t r = 0; r < 2; ++r) {
        const UpgradeStep& s = plan.steps[r];
        EXPECT_TRUE(SameBytes(Slice(s.report, 0, 4), {0x05, 0x02, 60, 0x00})) << r;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto block = static_cast<std::uint16_t>(3 * r + k);
            EXPECT_TRUE(SameBytes(Slice(s.report, 4 + 20 * k, 20),
                                  SubBlock(block, Slice(image, 16 * block, 16))))
                << "block " << block;
        }
        EXPECT_TRUE(s.stopOnFailure);
        EXPECT_TRUE(s.pauseAfter);
    }
    EXPECT_EQ(plan.steps[0].progress, 55);
    EXPECT_EQ(plan.steps[1].progress, 100);

    const UpgradeStep& last = plan.steps[2];
    EXPECT_TRUE(SameBytes(Slice(last.report, 0, 4), {0x05, 0x02, 20, 0x00}));
    EXPECT_TRUE(SameBytes(Slice(last.report, 4, 20), SubBlock(6, {96, 97, 98, 99})));
    EXPECT_TRUE(SameBytes(Slice(last.report, 24, 40), Bytes(40, 0xFF)));
    EXPECT_FALSE(last.progress);
    EXPECT_FALSE(last.stopOnFailure);
    EXPECT_FALSE(last.pauseAfter);
}

// Literal bytes with CRCs worked out apart from Crc16Modbus, so a sub-block fault cannot hide
// behind the helper above computing its CRC the same wrong way.
TEST(UpgradeReports, GoldenSubBlocksOfTheHundredByteImage) {
    const UpgradePlan plan = PlanImageTransfer(Image(100));
    ASSERT_EQ(plan.steps.size(), 3u);
    EXPECT_TRUE(
        SameBytes(Slice(plan.steps[0].report, 0, 24),
                  {0x05, 0x02, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05,
                   0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x7B, 0xF3}));
    EXPECT_TRUE(SameBytes(Slice(plan.steps[1].report, 44, 20),
                          {0x05, 0x00, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57,
                           0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x1D, 0xF5}));
    EXPECT_TRUE(
        SameBytes(Slice(plan.steps[2].report, 0, 24),
                  {0x05, 0x02, 0x14, 0x00, 0x06, 0x00, 0x60, 0x61, 0x62, 0x63, 0xFF, 0xFF,
                   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xAA, 0x2D}));
}

TEST(UpgradeReports, ExactMultipleHasNoShortReport) {
    const UpgradePlan plan = PlanImageTransfer(Image(96));
    ASSERT_EQ(plan.steps.size(), 2u);
    EXPECT_EQ(plan.steps[0].progress, 55);
    EXPECT_EQ(plan.steps[1].progress, 100);
    EXPECT_TRUE(plan.steps[1].stopOnFailure);

    const UpgradePlan one = PlanImageTransfer(Image(48));
    ASSERT_EQ(one.steps.size(), 1u);
    EXPECT_EQ(one.steps[0].progress, 100);
}

TEST(UpgradeReports, ImageBelowOneReportFillsThreeSubBlocks) {
    const Bytes image = Image(40);
    const UpgradePlan plan = PlanImageTransfer(image);
    ASSERT_EQ(plan.steps.size(), 1u);
    const UpgradeStep& s = plan.steps[0];
    EXPECT_EQ(s.report[2], 60);
    EXPECT_TRUE(SameBytes(Slice(s.report, 4, 20), SubBlock(0, Slice(image, 0, 16))));
    EXPECT_TRUE(SameBytes(Slice(s.report, 24, 20), SubBlock(1, Slice(image, 16, 16))));
    EXPECT_TRUE(SameBytes(Slice(s.report, 44, 20), SubBlock(2, Slice(image, 32, 8))));
    EXPECT_FALSE(s.progress);  // no division by n / 48 == 0
    EXPECT_FALSE(s.stopOnFailure);

    const UpgradePlan two = PlanImageTransfer(Image(17));
    ASSERT_EQ(two.steps.size(), 1u);
    EXPECT_EQ(two.steps[0].report[2], 40);
    EXPECT_TRUE(SameBytes(Slice(two.steps[0].report, 44, 20), Bytes(20, 0xFF)));
}

TEST(UpgradeReports, CrcCoversTheBlockNumber) {
    const Bytes same(32, 0xA5);
    const UpgradeReport r = MakeUpgradeDataReport(0, same);
    EXPECT_TRUE(SameBytes(Slice(r, 6, 16), Slice(r, 26, 16)));
    EXPECT_NE(Slice(r, 22, 2), Slice(r, 42, 2));
}

TEST(UpgradeReports, ImageSizeLimits) {
    EXPECT_EQ(PlanImageTransfer({}).status, UpgradePlanStatus::kEmptyImage);
    EXPECT_TRUE(PlanImageTransfer({}).steps.empty());

    // The largest image whose blocks a 16-bit number can count: the last block is 0xFFFF.
    const Bytes largest(kUpgradeMaxImageSize, 0x11);
    const UpgradePlan plan = PlanImageTransfer(largest);
    ASSERT_EQ(plan.status, UpgradePlanStatus::kOk);
    EXPECT_TRUE(SameBytes(Slice(plan.steps.back().report, 4, 2), {0xFF, 0xFF}));
    EXPECT_EQ(plan.steps[plan.steps.size() - 2].progress, 100);

    const UpgradePlan tooLarge = PlanImageTransfer(Bytes(kUpgradeMaxImageSize + 1, 0x11));
    EXPECT_EQ(tooLarge.status, UpgradePlanStatus::kImageTooLarge);
    EXPECT_TRUE(tooLarge.steps.empty());
}

}  // namespace
}  // namespace cursorial
