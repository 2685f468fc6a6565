// Read commands (0x10 .. 0x17, 0x20) and the decoding of their answers.
//
// Every read request sets only the command byte and is sent short. Decoders take the caller's
// buffer after the transport copied the answer over the request: byte 0 command, byte 1 status,
// payload from byte 4. A buffer shorter than the 33 bytes of a short answer decodes to nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/CommandReport.h"
#include "device/LightingCommands.h"
#include "device/SettingsCommands.h"

namespace cursorial {

using AnswerBytes = std::span<const std::uint8_t>;
inline constexpr std::size_t kMinAnswerSize = 33;

// 0x10 answer:
//   | 4..7: identifier | 8, 9: unused | 10: sensor | 11: highest rate code | 12: charge state |
//   | 13: battery level | 14: connected |
struct DeviceInfo {
    std::u16string identifier;  // always 4 characters; see DeviceIdentifierFromInfo
    std::uint8_t byte8 = 0;     // kept but not understood
    std::uint8_t byte9 = 0;
    std::uint8_t sensor = 0;
    std::uint8_t highestRate = 0;  // 0x10, 0x20, 0x40 or anything else (1000 Hz)
    std::uint8_t chargeState = 0;
    std::uint8_t batteryLevel = 0;
    std::uint8_t connected = 0;  // non-zero while the mouse is connected, also by receiver
};

// The identifier of bytes 4..7: each byte as a signed 8-bit value widened to a UTF-16 unit, so
// ASCII stays as it is and a byte of 0x80 or more becomes 0xFF80..0xFFFF (and so can never equal
// a catalogue identifier).
std::u16string DeviceIdentifierFromInfo(AnswerBytes answer);
std::optional<DeviceInfo> DecodeDeviceInfo(AnswerBytes answer);

// 0x12 answer: | 4: report-rate code |
std::optional<int> DecodeReportRate(AnswerBytes answer);

// 0x13 answer: | 4: (stage << 4) | count | then two codes per stage, as written by 0x03 but one
// position lower: stage i has its codes at 5 + 4i and 7 + 4i.
//
// The synchronisation takes each stage's DPI from these code positions: stage 1 from bytes 7..8
// (its second code), stages 2..6 from 9..10, 13..14, 17..18, 21..22, 25..26 (their first codes).
// Both codes of a stage are the same when the mouse holds what 0x03 wrote.
inline constexpr std::array<std::size_t, kDpiStageCount> kDpiStageReadOffsets{7, 9, 13, 17, 21, 25};
static_assert(kDpiStageReadOffsets.back() + 2 <= kMinAnswerSize,
              "every stage code is in a short answer");
inline constexpr int kLowestStoredDpi = 50;  // a decoded stage below this is not stored

struct DpiStagesRead {
    int count = 0;                                         // low nibble; also written as "dpi_flag"
    int index = 0;                                         // high nibble
    std::array<std::optional<int>, kDpiStageCount> dpi{};  // empty when below 50
};
std::optional<DpiStagesRead> DecodeDpiStages(AnswerBytes answer, int sensor);

// 0x14 answer: | 4 + 3i, 5 + 3i, 6 + 3i: red, green, blue of stage i |
std::optional<std::array<int, kDpiStageCount>> DecodeDpiColours(AnswerBytes answer);

// 0x15 answer: | 4: mode | 5: (brightness << 4) | speed |
struct LightingRead {
    int mode = 0;
    int brightness = 0;
    int speed = 0;
};
std::optional<LightingRead> DecodeLighting(AnswerBytes answer);

// 0x16 answer: | 4: lift-off | 5: option sent as byte 6 of 0x06 | 6: option of byte 7 |
// "sensor_flag" = 4 x (byte 6 is 1) + 8 x (byte 5 is 1); other bits of the profile are dropped.
struct LiftSensorRead {
    int liftoffHeight = 0;
    int sensorFlag = 0;
};
std::optional<LiftSensorRead> DecodeLiftSensor(AnswerBytes answer);

// 0x17 answer: | 4: sleep | 5: wake on move | 6: lights off while moving | 7: response |
std::optional<PowerSettings> DecodePower(AnswerBytes answer);

// 0x20 answer: | 4: major | 5: minor |
struct FirmwareVersionRead {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
};
std::optional<FirmwareVersionRead> DecodeFirmwareVersion(AnswerBytes answer);

// The reads of a full settings read, in the order they are sent. 0x11 is sent but its answer is
// not used; 0x20 follows separately, and only over the receiver.
inline constexpr std::array<std::uint8_t, 7> kSettingsReadOrder{
    command::kReadPrepare,    command::kReadReportRate, command::kReadDpiStages,
    command::kReadDpiColours, command::kReadLighting,   command::kReadLiftSensor,
    command::kReadPower,
};

// What a full settings read brought back; a read that failed stays empty.
struct SettingsRead {
    std::optional<int> reportRate;
    std::optional<DpiStagesRead> dpiStages;
    std::optional<std::array<int, kDpiStageCount>> dpiColours;
    std::optional<LightingRead> lighting;
    std::optional<LiftSensorRead> liftSensor;
    std::optional<PowerSettings> power;
};

// Decodes the answer of one read of kSettingsReadOrder into `read`. Returns false for a command
// whose answer carries no settings (0x11 and unknown ids) or a buffer too short.
bool AddSettingsAnswer(SettingsRead& read, std::uint8_t readCommand, AnswerBytes answer,
                       int sensor);

}  // namespace cursorial
