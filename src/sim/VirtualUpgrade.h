// The mouse's upgrade interface (usage page 0xFFEF): it takes 64-byte reports, checks the
// block numbers and the CRC of every sub-block, and puts the image back together so a test
// can compare it with what was sent.
//
//   start   05 02 02 00 01 FF..
//   data    05 02 LL 00 | sub-block at 4, 24, 44 (LL = 20 x filled sub-blocks)
//   finish  05 02 06 00 02 FF..
//   sub-block: block number (2, LE) | 16 image bytes | CRC-16/MODBUS of the 18 before (2, LE)
//   unfilled sub-blocks of the last report are all 0xFF
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cursorial::sim {

// CRC-16/MODBUS: reflected polynomial 0xA001, initial 0xFFFF, no final XOR. The simulator's
// own, independent of the program's.
std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length);

// Kinds of upgrade report, as bits so a device can be told to refuse any set of them.
enum UpgradeReportKind : unsigned {
    kUpgradeStart = 1,
    kUpgradeData = 2,
    kUpgradeFinish = 4,
};
// Start and finish by their bytes; anything else counts as data.
UpgradeReportKind UpgradeReportKindOf(std::span<const std::uint8_t> report);

struct UpgradeLog {
    bool started = false;
    bool finished = false;
    bool failed = false;
    std::string error;                // the first fault found
    std::vector<std::uint8_t> image;  // 16 bytes per accepted block (the tail padded with 0xFF)
    int reports = 0;                  // reports written to the interface
    int dataReports = 0;
    int starts = 0;
    int refused = 0;  // reports the device would not take (their write failed)
};

class VirtualUpgrade {
public:
    void HandleReport(std::span<const std::uint8_t> report);
    const UpgradeLog& Log() const { return log_; }
    void NoteRefused() { ++log_.refused; }

private:
    void Fail(std::string what);

    UpgradeLog log_;
    int nextBlock_ = 0;
    bool sawShortReport_ = false;
};

}  // namespace cursorial::sim
