// Reports of the firmware upgrade interface: 64 bytes each, 0xFF wherever nothing is set. The
// image goes out in 16-byte blocks, three per data report, each numbered and CRC-protected.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace cursorial {

inline constexpr std::size_t kUpgradeReportSize = 64;
inline constexpr std::size_t kUpgradeBlockSize = 16;     // image bytes per sub-block
inline constexpr std::size_t kUpgradeSubBlockSize = 20;  // block number, 16 bytes, CRC
inline constexpr std::size_t kUpgradeBlocksPerReport = 3;
inline constexpr std::size_t kUpgradeBytesPerReport = kUpgradeBlockSize * kUpgradeBlocksPerReport;
// Block numbers are 16 bits wide.
inline constexpr std::size_t kUpgradeMaxImageSize = 65536 * kUpgradeBlockSize;

using UpgradeReport = std::array<std::uint8_t, kUpgradeReportSize>;

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t Crc16Modbus(std::span<const std::uint8_t> bytes);

// | 0: 0x05 | 1: 0x02 | 2: 0x02 | 3: 0x00 | 4: 0x01 | rest 0xFF |
UpgradeReport MakeUpgradeStartReport();
// | 0: 0x05 | 1: 0x02 | 2: 0x06 | 3: 0x00 | 4: 0x02 | rest 0xFF |
UpgradeReport MakeUpgradeFinishReport();

// A data report for up to 48 image bytes starting at block `firstBlock`:
// | 0: 0x05 | 1: 0x02 | 2: 20 x filled sub-blocks | 3: 0x00 | 4..23, 24..43, 44..63: sub-blocks |
// Sub-block: | 0..1: block number LE | 2..17: image bytes, 0xFF after the image's end |
//            | 18..19: CRC-16/MODBUS of bytes 0..17, LE |
// Sub-blocks without image data stay 0xFF. `chunk` holds 1..48 bytes.
UpgradeReport MakeUpgradeDataReport(std::uint16_t firstBlock, std::span<const std::uint8_t> chunk);

// One data report of the transfer and what to do around it.
struct UpgradeStep {
    UpgradeReport report{};
    bool stopOnFailure = true;  // false for the closing partial report: its result is not examined
    bool pauseAfter = false;    // wait 10 ms after it (the first two full reports)
    std::optional<int> progress;  // status percentage to show after it was sent
};

enum class UpgradePlanStatus {
    kOk,
    kEmptyImage,     // nothing to send
    kImageTooLarge,  // more blocks than a 16-bit block number can count
};

struct UpgradePlan {
    UpgradePlanStatus status = UpgradePlanStatus::kOk;
    std::vector<UpgradeStep> steps;  // the data reports, between the start and finish reports
};

// The data reports of an image: full reports of 48 bytes, each followed by the progress
// (sum of 90 per report) / (n / 48) + 10, then one report with the remaining 1..47 bytes, if
// any, without progress. Images over 1 MiB are refused rather than sent with block numbers
// that wrap around.
UpgradePlan PlanImageTransfer(std::span<const std::uint8_t> image);

}  // namespace cursorial
