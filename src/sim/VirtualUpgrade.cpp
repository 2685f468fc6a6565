#include "sim/VirtualUpgrade.h"

#include <algorithm>

namespace cursorial::sim {

std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

UpgradeReportKind UpgradeReportKindOf(std::span<const std::uint8_t> report) {
    if (report.size() >= 5 && report[2] == 0x02 && report[4] == 0x01)
        return kUpgradeStart;
    if (report.size() >= 5 && report[2] == 0x06 && report[4] == 0x02)
        return kUpgradeFinish;
    return kUpgradeData;
}

void VirtualUpgrade::Fail(std::string what) {
    if (!log_.failed) {
        log_.failed = true;
        log_.error = std::move(what);
    }
}

void VirtualUpgrade::HandleReport(std::span<const std::uint8_t> report) {
    ++log_.reports;
    if (report.size() != 64 || report[0] != 0x05 || report[1] != 0x02 || report[3] != 0x00) {
        Fail("malformed report " + std::to_string(log_.reports));
        return;
    }
    const std::uint8_t kind = report[2];
    if (kind == 0x02 && report[4] == 0x01) {
        const int reports = log_.reports;
        const int starts = log_.starts + 1;
        const int refused = log_.refused;
        log_ = UpgradeLog{};
        log_.started = true;
        log_.reports = reports;
        log_.starts = starts;
        log_.refused = refused;
        nextBlock_ = 0;
        sawShortReport_ = false;
        return;
    }
    if (kind == 0x06 && report[4] == 0x02) {
        if (!log_.started)
            Fail("finish without start");
        log_.finished = true;
        return;
    }
    if (kind != 20 && kind != 40 && kind != 60) {
        Fail("unknown report kind " + std::to_string(kind));
        return;
    }
    ++log_.dataReports;
    if (!log_.started || log_.finished) {
        Fail("data outside an upgrade");
        return;
    }
    if (sawShortReport_) {
        Fail("data after the last report");
        return;
    }
    if (log_.failed)
        return;
    const std::size_t filled = kind / 20;
    sawShortReport_ = filled < 3;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::uint8_t* sub = report.data() + 4 + 20 * k;
        if (k >= filled) {
            if (!std::all_of(sub, sub + 20, [](std::uint8_t b) { return b == 0xFF; }))
                Fail("unused sub-block is not blank");
            continue;
        }
        const int block = sub[0] | (sub[1] << 8);
        const std::uint16_t crc = static_cast<std::uint16_t>(sub[18] | (sub[19] << 8));
        if (block != nextBlock_) {
            Fail("block " + std::to_string(block) + " where " + std::to_string(nextBlock_) +
                 " was due");
            return;
        }
        if (Crc16Modbus(sub, 18) != crc) {
            Fail("CRC mismatch in block " + std::to_string(block));
            return;
        }
        log_.image.insert(log_.image.end(), sub + 2, sub + 18);
        ++nextBlock_;
    }
}

}  // namespace cursorial::sim
