#include "device/InfoDecoders.h"

#include "common/text/WideText.h"
#include "device/DpiCodec.h"

namespace cursorial {
namespace {

bool LongEnough(AnswerBytes answer) {
    return answer.size() >= kMinAnswerSize;
}

int Le16(AnswerBytes answer, std::size_t at) {
    return answer[at] | (answer[at + 1] << 8);
}

int Colour(AnswerBytes answer, std::size_t at) {
    return answer[at] | (answer[at + 1] << 8) | (answer[at + 2] << 16);
}

}  // namespace

std::u16string DeviceIdentifierFromInfo(AnswerBytes answer) {
    std::u16string id;
    if (answer.size() < 8)
        return id;
    for (std::size_t i = 4; i < 8; ++i) {
        const auto signedByte = static_cast<std::int8_t>(answer[i]);
        id.push_back(static_cast<char16_t>(static_cast<std::int16_t>(signedByte)));
    }
    return id;
}

std::optional<DeviceInfo> DecodeDeviceInfo(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    DeviceInfo info;
    info.identifier = DeviceIdentifierFromInfo(a);
    info.byte8 = a[8];
    info.byte9 = a[9];
    info.sensor = a[10];
    info.highestRate = a[11];
    info.chargeState = a[12];
    info.batteryLevel = a[13];
    info.connected = a[14];
    return info;
}

std::optional<int> DecodeReportRate(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    return a[4];
}

std::optional<DpiStagesRead> DecodeDpiStages(AnswerBytes a, int sensor) {
    if (!LongEnough(a))
        return std::nullopt;
    DpiStagesRead read;
    read.count = a[4] & 0x0F;
    read.index = a[4] >> 4;
    for (int i = 0; i < kDpiStageCount; ++i) {
        const int dpi = DecodeDpi(sensor, Le16(a, kDpiStageReadOffsets[i]));
        if (dpi >= kLowestStoredDpi)
            read.dpi[i] = dpi;
    }
    return read;
}

std::optional<std::array<int, kDpiStageCount>> DecodeDpiColours(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    std::array<int, kDpiStageCount> colours{};
    for (int i = 0; i < kDpiStageCount; ++i)
        colours[i] = Colour(a, 4 + 3 * std::size_t(i));
    return colours;
}

std::optional<LightingRead> DecodeLighting(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    return LightingRead{a[4], a[5] >> 4, a[5] & 0x0F};
}

std::optional<LiftSensorRead> DecodeLiftSensor(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    return LiftSensorRead{a[4], 4 * (a[6] == 1) + 8 * (a[5] == 1)};
}

std::optional<PowerSettings> DecodePower(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    return PowerSettings{a[4], a[5], a[6], a[7]};
}

std::optional<FirmwareVersionRead> DecodeFirmwareVersion(AnswerBytes a) {
    if (!LongEnough(a))
        return std::nullopt;
    return FirmwareVersionRead{a[4], a[5]};
}

bool AddSettingsAnswer(SettingsRead& read, std::uint8_t cmd, AnswerBytes answer, int sensor) {
    if (!LongEnough(answer))
        return false;
    switch (cmd) {
        case command::kReadReportRate:
            read.reportRate = DecodeReportRate(answer);
            return true;
        case command::kReadDpiStages:
            read.dpiStages = DecodeDpiStages(answer, sensor);
            return true;
        case command::kReadDpiColours:
            read.dpiColours = DecodeDpiColours(answer);
            return true;
        case command::kReadLighting:
            read.lighting = DecodeLighting(answer);
            return true;
        case command::kReadLiftSensor:
            read.liftSensor = DecodeLiftSensor(answer);
            return true;
        case command::kReadPower:
            read.power = DecodePower(answer);
            return true;
        default:
            return false;
    }
}

}  // namespace cursorial
