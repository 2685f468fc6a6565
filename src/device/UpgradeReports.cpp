#include "device/UpgradeReports.h"

#include <algorithm>

namespace cursorial {
namespace {

constexpr std::uint8_t kUpgradeReportId = 0x05;
constexpr std::size_t kFirstSubBlock = 4;
static_assert(2 + kUpgradeBlockSize + 2 == kUpgradeSubBlockSize, "number, data, CRC");
static_assert(kFirstSubBlock + kUpgradeBlocksPerReport * kUpgradeSubBlockSize == kUpgradeReportSize,
              "three sub-blocks end the report");
constexpr int kProgressPerReport = 90;
constexpr int kProgressBase = 10;

UpgradeReport Filled(std::uint8_t byte2, std::uint8_t byte4) {
    UpgradeReport r;
    r.fill(0xFF);
    r[0] = kUpgradeReportId;
    r[1] = 0x02;
    r[2] = byte2;
    r[3] = 0x00;
    r[4] = byte4;
    return r;
}

void WriteSubBlock(std::uint8_t* at, std::uint16_t block, std::span<const std::uint8_t> data) {
    at[0] = static_cast<std::uint8_t>(block & 0xFF);
    at[1] = static_cast<std::uint8_t>(block >> 8);
    std::fill_n(at + 2, kUpgradeBlockSize, 0xFF);
    std::copy(data.begin(), data.end(), at + 2);
    const std::uint16_t crc = Crc16Modbus(std::span<const std::uint8_t>(at, 18));
    at[18] = static_cast<std::uint8_t>(crc & 0xFF);
    at[19] = static_cast<std::uint8_t>(crc >> 8);
}

}  // namespace

std::uint16_t Crc16Modbus(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

UpgradeReport MakeUpgradeStartReport() {
    return Filled(0x02, 0x01);
}

UpgradeReport MakeUpgradeFinishReport() {
    return Filled(0x06, 0x02);
}

UpgradeReport MakeUpgradeDataReport(std::uint16_t firstBlock, std::span<const std::uint8_t> chunk) {
    UpgradeReport r;
    r.fill(0xFF);
    r[0] = kUpgradeReportId;
    r[1] = 0x02;
    r[3] = 0x00;
    std::size_t filled = 0;
    for (std::size_t from = 0; from < chunk.size() && filled < kUpgradeBlocksPerReport;
         from += kUpgradeBlockSize, ++filled) {
        const std::size_t count = std::min(kUpgradeBlockSize, chunk.size() - from);
        WriteSubBlock(r.data() + kFirstSubBlock + filled * kUpgradeSubBlockSize,
                      static_cast<std::uint16_t>(firstBlock + filled), chunk.subspan(from, count));
    }
    r[2] = static_cast<std::uint8_t>(filled * kUpgradeSubBlockSize);
    return r;
}

UpgradePlan PlanImageTransfer(std::span<const std::uint8_t> image) {
    UpgradePlan plan;
    const std::size_t n = image.size();
    if (n == 0) {
        plan.status = UpgradePlanStatus::kEmptyImage;
        return plan;
    }
    if (n > kUpgradeMaxImageSize) {
        plan.status = UpgradePlanStatus::kImageTooLarge;
        return plan;
    }

    const std::size_t fullReports = n / kUpgradeBytesPerReport;
    plan.steps.reserve(fullReports + 1);
    std::size_t position = 0;
    std::size_t block = 0;
    long long progressSum = 0;
    for (std::size_t i = 0; i < fullReports; ++i) {
        UpgradeStep step;
        step.report = MakeUpgradeDataReport(static_cast<std::uint16_t>(block),
                                            image.subspan(position, kUpgradeBytesPerReport));
        step.pauseAfter = i < 2;
        progressSum += kProgressPerReport;
        // fullReports is at least 1 here, so the division is defined.
        step.progress =
            static_cast<int>(progressSum / static_cast<long long>(fullReports) + kProgressBase);
        plan.steps.push_back(step);
        block += kUpgradeBlocksPerReport;
        position += kUpgradeBytesPerReport;
    }
    if (position < n) {
        UpgradeStep last;
        last.report =
            MakeUpgradeDataReport(static_cast<std::uint16_t>(block), image.subspan(position));
        last.stopOnFailure = false;
        plan.steps.push_back(last);
    }
    return plan;
}

}  // namespace cursorial
