// Firmware images written through the link to the simulator's upgrade interface, which checks
// every block number and CRC and puts the image back together.
#include <gtest/gtest.h>

#include "../protocol/GoldenBytes.h"
#include "LinkFixture.h"
#include "device/FirmwareTransfer.h"

namespace cursorial::testing {
namespace {

Bytes Image(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
    return image;
}

// What the mouse holds after the transfer: the image, its last block padded with 0xFF.
Bytes Reassembled(const Bytes& image) {
    Bytes padded = image;
    padded.resize((image.size() + 15) / 16 * 16, 0xFF);
    return padded;
}

class UpgradeTest : public SimLinkTest {
protected:
    void SetUp() override {
        Build(WorldOf({"aero-cable"}));
        Enumerate(kAero);
    }
};

TEST_F(UpgradeTest, ImagesArriveIntact) {
    struct Case {
        std::size_t size;
        int dataReports;
        std::vector<int> progress;
    };
    const std::vector<Case> cases = {
        {40, 1, {}},
        {96, 2, {55, 100}},
        {100, 3, {55, 100}},
        {65536, 1366, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes image = Image(c.size);
        std::vector<int> progress;
        EXPECT_EQ(TransferFirmwareImage(*link, image, [&](int p) { progress.push_back(p); }),
                  FirmwareTransferResult::kDone);
        const sim::UpgradeLog log = world->Upgrade("aero-cable");
        EXPECT_TRUE(log.started);
        EXPECT_TRUE(log.finished);
        EXPECT_FALSE(log.failed) << log.error;
        EXPECT_EQ(log.dataReports, c.dataReports);
        EXPECT_TRUE(SameBytes(log.image, Reassembled(image)));
        if (!c.progress.empty()) {
            EXPECT_EQ(progress, c.progress);
        } else if (c.size >= 48) {
            ASSERT_FALSE(progress.empty());
            EXPECT_EQ(progress.back(), 100);
        }
    }
}

TEST_F(UpgradeTest, FlippedByteIsCaughtByTheDevice) {
    const Bytes image = Image(100);
    const UpgradePlan plan = PlanImageTransfer(image);
    ASSERT_TRUE(link->OpenUpgradeInterface(0x1209, 0x0001));
    ASSERT_TRUE(link->UpgradeTransfer(MakeUpgradeStartReport()));
    UpgradeReport corrupt = plan.steps.at(1).report;
    corrupt[30] ^= 0x01;  // an image byte of the second report's second sub-block
    EXPECT_TRUE(link->UpgradeTransfer(plan.steps.at(0).report));
    EXPECT_TRUE(link->UpgradeTransfer(corrupt));  // the write itself goes through
    const sim::UpgradeLog log = world->Upgrade("aero-cable");
    EXPECT_TRUE(log.failed);
    EXPECT_EQ(log.error, "CRC mismatch in block 4");
}

TEST_F(UpgradeTest, NoUpgradeInterfaceWritesNothing) {
    Build(WorldOf({"aero-receiver"}));  // receivers have no upgrade interface
    Enumerate(kAero);
    EXPECT_EQ(TransferFirmwareImage(*link, Image(100), nullptr),
              FirmwareTransferResult::kNoUpgradeInterface);
    EXPECT_FALSE(link->HasUpgradeInterface());
    EXPECT_FALSE(link->UpgradeTransfer(MakeUpgradeStartReport()));
    EXPECT_EQ(TransferFirmwareImage(*link, {}, nullptr), FirmwareTransferResult::kEmptyImage);
}

TEST_F(UpgradeTest, RefusedWriteIsRetriedThenConfirmedByARead) {
    ASSERT_TRUE(link->OpenUpgradeInterface(0x1209, 0x0001));
    // Both writes fail and nothing is read back: refused, and the transfer stops there.
    world->SetFaults("aero-cable", {.failWrites = 2});
    EXPECT_EQ(TransferFirmwareImage(*link, Image(100), nullptr),
              FirmwareTransferResult::kStartRefused);
    world->SetFaults("aero-cable", {});
    EXPECT_EQ(TransferFirmwareImage(*link, Image(100), nullptr), FirmwareTransferResult::kDone);
}

}  // namespace
}  // namespace cursorial::testing
