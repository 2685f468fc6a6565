#include "sim/VirtualMouse.h"

#include <algorithm>

namespace cursorial::sim {

namespace {

// Wire positions of the request (report id at 0).
constexpr std::size_t kCmd = 1;
constexpr std::size_t kStatus = 2;
constexpr std::size_t kSeq = 3;
constexpr std::size_t kLen = 4;
constexpr std::size_t kData = 5;
constexpr std::size_t kSum = 32;
constexpr std::size_t kMaxPayload = 27;
// Answer payload start.
constexpr std::size_t kOut = 4;

constexpr std::array<std::uint8_t, 18> kDefaultButtons = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00,
                                                          0x10, 0x04, 0x00, 0x10, 0x08, 0x00,
                                                          0x10, 0x10, 0x00, 0x40, 0x01, 0x00};

bool IsCommandReport(std::span<const std::uint8_t> report) {
    return report.size() == kRequestSize && report[0] == 0;
}

bool IsRead(std::uint8_t command) {
    return (command >= 0x10 && command <= 0x17) || command == 0x20;
}

}  // namespace

VirtualMouse::VirtualMouse(const MouseConfig& config)
    : config_(config),
      state_(FactoryState()),
      switchedOn_(config.switchedOn),
      battery_(config.battery),
      charge_(config.charge),
      infoConnected_(config.infoConnected) {}

MouseState VirtualMouse::FactoryState() const {
    MouseState s;
    s.reportRate = config_.reportRate;
    s.dpiStages = static_cast<std::uint8_t>((config_.dpiIndex << 4) | (config_.dpiCount & 0x0F));
    for (std::size_t i = 0; i < 6; ++i) {
        s.dpiCodes[i] = {config_.dpiCodes[i], config_.dpiCodes[i]};
        const std::uint32_t c = config_.dpiColours[i];
        s.dpiColours[i] = {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c >> 16)};
    }
    s.lightMode = config_.lightMode;
    s.lightLevels =
        static_cast<std::uint8_t>((config_.lightBrightness << 4) | (config_.lightSpeed & 0x0F));
    s.liftoff = config_.liftoff;
    s.sensorOption1 = config_.sensorOptions[0];
    s.sensorOption2 = config_.sensorOptions[1];
    s.power = config_.power;
    std::copy(kDefaultButtons.begin(), kDefaultButtons.end(), s.buttonTable.begin());
    return s;
}

std::optional<Answer> VirtualMouse::HandleCommand(std::span<const std::uint8_t> report) {
    if (!IsCommandReport(report))
        return std::nullopt;
    const std::uint8_t* r = report.data();
    Answer a{};
    a[0] = r[kCmd];
    unsigned sum = 0;
    for (std::size_t i = kData; i < kSum; ++i)
        sum += r[i];
    if ((sum & 0xFF) != r[kSum])
        a[1] = status::kBadChecksum;
    else if (r[kStatus] != 0)  // a request carries no status; the mouse takes none
        a[1] = status::kBadValue;
    else
        a[1] = Apply(r[kCmd], r, a);
    if (a[1] != 0)
        std::fill(a.begin() + kOut, a.end(), 0);
    return a;
}

std::optional<Answer> VirtualMouse::Refuse(std::span<const std::uint8_t> report,
                                           std::uint8_t status) const {
    if (!IsCommandReport(report))
        return std::nullopt;
    Answer a{};
    a[0] = report[kCmd];
    a[1] = status;
    return a;
}

std::uint8_t VirtualMouse::Apply(std::uint8_t command, const std::uint8_t* r, Answer& a) {
    const std::uint8_t len = r[kLen];
    if (IsRead(command)) {
        if (r[kSeq] != 0x00)
            return status::kBadSequence;
    } else if (command != 0x08 && r[kSeq] != 0x01) {
        return status::kBadSequence;
    }
    switch (command) {
        case 0x02:  // report rate
            if (len != 1)
                return status::kBadValue;
            switch (r[kData]) {
                case 0x08:
                case 0x04:
                case 0x02:
                case 0x01:
                    break;
                case 0x10:
                case 0x20:
                case 0x40:
                    if (r[kData] > config_.maxRate)
                        return status::kBadValue;
                    break;
                default:
                    return status::kBadValue;
            }
            state_.reportRate = r[kData];
            return 0;
        case 0x03:  // DPI stages: stage byte, then per stage two little-endian codes
            if (len != 0x25)
                return status::kBadValue;
            state_.dpiStages = r[kData];
            for (std::size_t i = 0; i < 6; ++i) {
                const std::uint8_t* p = r + 6 + 4 * i;
                state_.dpiCodes[i] = {static_cast<std::uint16_t>(p[0] | (p[1] << 8)),
                                      static_cast<std::uint16_t>(p[2] | (p[3] << 8))};
            }
            return 0;
        case 0x04:  // DPI colours: r, g, b per stage
            if (len != 18)
                return status::kBadValue;
            for (std::size_t i = 0; i < 6; ++i)
                std::copy_n(r + kData + 3 * i, 3, state_.dpiColours[i].begin());
            return 0;
        case 0x05:
            return ApplyLighting(r);
        case 0x06:  // lift-off, two sensor options
            if (len != 5)
                return status::kBadValue;
            state_.liftoff = r[5];
            state_.sensorOption1 = r[6];
            state_.sensorOption2 = r[7];
            return 0;
        case 0x07:  // sleep, wake, lights off while moving, button response
            if (len != 4)
                return status::kBadValue;
            std::copy_n(r + kData, 4, state_.power.begin());
            return 0;
        case 0x08:
            return ApplyMacroPacket(r);
        case 0x09:  // button table entries 0..8
            if (len != 0x0F)
                return status::kBadValue;
            std::copy_n(r + kData, kMaxPayload, state_.buttonTable.begin());
            return 0;
        case 0x0E:  // lighting reset: 01/01 back to the factory effect, 04/42 factory form
            if (len == 0x01 && r[kData] == 0x01) {
                const MouseState f = FactoryState();
                state_.lightMode = f.lightMode;
                state_.lightLevels = f.lightLevels;
            } else if (len == 0x04 && r[kData] == 0x42) {
                state_.lightMode = 4;
                state_.lightLevels = FactoryState().lightLevels;
            } else {
                return status::kBadValue;
            }
            ++lightingResets_;
            return 0;
        case 0x0F:  // factory reset
            if (len != 0x01 || r[kData] != 0xFF)
                return status::kBadValue;
            state_ = FactoryState();
            macroBuffer_.clear();
            macroNextIndex_ = 0;
            ++factoryResets_;
            return 0;
        case 0x10: {  // information
            for (std::size_t i = 0; i < 4 && i < config_.deviceId.size(); ++i)
                a[kOut + i] = static_cast<std::uint8_t>(config_.deviceId[i]);
            a[10] = config_.sensor;
            a[11] = config_.maxRate;
            a[12] = charge_;
            a[13] = battery_;
            a[14] = infoConnected_ ? 1 : 0;
            return 0;
        }
        case 0x11:
            return 0;
        case 0x12:
            a[kOut] = state_.reportRate;
            return 0;
        case 0x13:
            a[kOut] = state_.dpiStages;
            for (std::size_t i = 0; i < 6; ++i) {
                std::uint8_t* p = a.data() + 5 + 4 * i;
                p[0] = static_cast<std::uint8_t>(state_.dpiCodes[i][0]);
                p[1] = static_cast<std::uint8_t>(state_.dpiCodes[i][0] >> 8);
                p[2] = static_cast<std::uint8_t>(state_.dpiCodes[i][1]);
                p[3] = static_cast<std::uint8_t>(state_.dpiCodes[i][1] >> 8);
            }
            return 0;
        case 0x14:
            for (std::size_t i = 0; i < 6; ++i)
                std::copy_n(state_.dpiColours[i].begin(), 3, a.begin() + kOut + 3 * i);
            return 0;
        case 0x15:
            a[kOut] = state_.lightMode;
            a[kOut + 1] = state_.lightLevels;
            return 0;
        case 0x16:
            a[kOut] = state_.liftoff;
            a[kOut + 1] = state_.sensorOption1;
            a[kOut + 2] = state_.sensorOption2;
            return 0;
        case 0x17:
            std::copy_n(state_.power.begin(), 4, a.begin() + kOut);
            return 0;
        case 0x20:
            a[kOut] = config_.firmwareMajor;
            a[kOut + 1] = config_.firmwareMinor;
            return 0;
        default:
            return status::kUnknownCommand;
    }
}

//   byte 5 mode | byte 6 (brightness << 4) | speed | then by mode:
//   0, 4, 5: length 2 | 1: length 3, byte 7 = 0 | 2: length 24, byte 7 = 7, 7 colours from 8
//   3: length 5, one colour at 7
std::uint8_t VirtualMouse::ApplyLighting(const std::uint8_t* r) {
    const std::uint8_t len = r[kLen];
    const std::uint8_t mode = r[5];
    switch (mode) {
        case 0:
        case 4:
        case 5:
            if (len != 2)
                return status::kBadValue;
            break;
        case 1:
            if (len != 3 || r[7] != 0)
                return status::kBadValue;
            break;
        case 2:
            if (len != 24 || r[7] != 7)
                return status::kBadValue;
            state_.lightColourCount = 7;
            for (std::size_t j = 0; j < 7; ++j)
                std::copy_n(r + 8 + 3 * j, 3, state_.lightColours[j].begin());
            break;
        case 3:
            if (len != 5)
                return status::kBadValue;
            std::copy_n(r + 7, 3, state_.lightColours[0].begin());
            break;
        default:
            return status::kBadValue;
    }
    state_.lightMode = mode;
    state_.lightLevels = r[6];
    return 0;
}

// Macro data of one button: its key code, then 4-byte events. Up to 27 bytes per packet; a
// longer macro comes as `count` packets numbered 0.. in byte 3, all but the last full.
std::uint8_t VirtualMouse::ApplyMacroPacket(const std::uint8_t* r) {
    const int count = r[kSeq] & 0x0F;
    const int index = r[kSeq] >> 4;
    const std::size_t len = r[kLen];
    if (count == 0 || index >= count || len == 0 || len > kMaxPayload) {
        macroBuffer_.clear();
        macroNextIndex_ = 0;
        return len == 0 || len > kMaxPayload ? status::kBadValue : status::kBadSequence;
    }
    if (index == 0) {
        macroBuffer_.clear();
        macroNextIndex_ = 0;
        macroPackets_ = count;
    }
    if (index != macroNextIndex_ || count != macroPackets_ ||
        (index + 1 < count && len != kMaxPayload)) {
        macroBuffer_.clear();
        macroNextIndex_ = 0;
        return status::kBadSequence;
    }
    macroBuffer_.insert(macroBuffer_.end(), r + kData, r + kData + len);
    ++macroNextIndex_;
    if (index + 1 < count)
        return 0;
    std::vector<std::uint8_t> data = std::move(macroBuffer_);
    macroBuffer_.clear();
    macroNextIndex_ = 0;
    if ((data.size() - 1) % 4 != 0 || data[0] >= 21)
        return status::kBadValue;
    state_.macros[data[0]] = std::vector<std::uint8_t>(data.begin() + 1, data.end());
    return 0;
}

Answer VirtualMouse::PressDpiButton() {
    int count = state_.dpiStages & 0x0F;
    if (count == 0)
        count = 1;
    const int stage = ((state_.dpiStages >> 4) + 1) % count;
    state_.dpiStages = static_cast<std::uint8_t>((stage << 4) | (state_.dpiStages & 0x0F));
    Answer a{};
    a[0] = 0xC2;
    a[1] = state_.dpiStages;
    return a;
}

Answer VirtualMouse::ConnectionReport() const {
    Answer a{};
    a[0] = 0xC0;
    if (switchedOn_) {
        a[1] = 1;
        a[2] = battery_;
        a[3] = charge_;
    }
    return a;
}

}  // namespace cursorial::sim
