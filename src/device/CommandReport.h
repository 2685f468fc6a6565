// The 65-byte command report exchanged with the mouse's command interface, and the checksum
// the transport writes into it before every send.
//
// Request layout (all bytes zero unless a command sets them):
//
//   byte  0      report id, always 0
//   byte  1      command id
//   byte  2      0 (the answer carries its status here)
//   byte  3      packet sequence: (packet index << 4) | packet count; 0x01 for a single-packet
//                write, 0x00 for a read
//   byte  4      payload length byte (its value is per command, not always the payload size)
//   bytes 5..31  payload, at most 27 bytes
//   byte  32     checksum: sum of bytes 5..31 modulo 256
//   bytes 33..64 zero, never meaningful
//
// The answer is read into the same buffer with the report id removed, so every answer position
// is one less than in the request: byte 0 command echoed, byte 1 status (0 = accepted), bytes 2
// and 3 unused, payload from byte 4.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cursorial {

inline constexpr std::size_t kCommandReportSize = 65;

// A number as a report byte carries it: its low 8 bits, whatever its size or sign.
constexpr std::uint8_t Low8(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// Command ids of the command interface.
namespace command {
inline constexpr std::uint8_t kReportRate = 0x02;     // write report rate
inline constexpr std::uint8_t kDpiStages = 0x03;      // write DPI stages
inline constexpr std::uint8_t kDpiColours = 0x04;     // write DPI stage colours
inline constexpr std::uint8_t kLighting = 0x05;       // write lighting mode
inline constexpr std::uint8_t kLiftSensor = 0x06;     // write lift-off and sensor options
inline constexpr std::uint8_t kPower = 0x07;          // write sleep, wake, button response
inline constexpr std::uint8_t kMacroData = 0x08;      // write one button's macro
inline constexpr std::uint8_t kButtonTable = 0x09;    // write the button function table
inline constexpr std::uint8_t kLightingReset = 0x0E;  // lighting reset (two forms)
inline constexpr std::uint8_t kFactoryReset = 0x0F;   // factory reset
inline constexpr std::uint8_t kInfo = 0x10;           // read device information
inline constexpr std::uint8_t kReadPrepare = 0x11;    // read; answer unused
inline constexpr std::uint8_t kReadReportRate = 0x12;
inline constexpr std::uint8_t kReadDpiStages = 0x13;
inline constexpr std::uint8_t kReadDpiColours = 0x14;
inline constexpr std::uint8_t kReadLighting = 0x15;
inline constexpr std::uint8_t kReadLiftSensor = 0x16;
inline constexpr std::uint8_t kReadPower = 0x17;
inline constexpr std::uint8_t kReadFirmware = 0x20;
}  // namespace command

// Request positions.
inline constexpr std::size_t kReportIdByte = 0;
inline constexpr std::size_t kCommandByte = 1;
inline constexpr std::size_t kStatusByte = 2;
inline constexpr std::size_t kSequenceByte = 3;
inline constexpr std::size_t kLengthByte = 4;
inline constexpr std::size_t kPayloadByte = 5;
inline constexpr std::size_t kPayloadCapacity = 27;
inline constexpr std::size_t kChecksumByte = 32;

// Answer positions (in the caller's buffer after the transport copied the answer back).
inline constexpr std::size_t kAnswerCommandByte = 0;
inline constexpr std::size_t kAnswerStatusByte = 1;
inline constexpr std::size_t kAnswerPayloadByte = 4;

// How many bytes of the report a command hands to the transport. The device always receives
// the full 65-byte report; the short form only stops at the checksum.
enum class SendLength : std::size_t {
    kShort = 33,  // bytes 0..32
    kLong = 65,   // the whole report
};

// One command report. Plain bytes so the transport can pass data() to hidapi unchanged.
struct CommandReport {
    std::array<std::uint8_t, kCommandReportSize> bytes{};

    constexpr std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    constexpr std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    std::uint8_t* data() { return bytes.data(); }
    const std::uint8_t* data() const { return bytes.data(); }
    static constexpr std::size_t size() { return kCommandReportSize; }

    // The answer's status byte; 0 means the mouse accepted the command.
    constexpr std::uint8_t AnswerStatus() const { return bytes[kAnswerStatusByte]; }
};
static_assert(sizeof(CommandReport) == kCommandReportSize, "a command report is 65 bytes");

// A built command: the report and how many of its bytes the transport is to write.
struct Command {
    CommandReport report;
    SendLength length = SendLength::kShort;

    constexpr std::size_t Length() const { return static_cast<std::size_t>(length); }
};

// Sum of bytes 5..31 modulo 256. The command and length bytes (1..4) are not covered, and the
// whole payload range is covered whatever the length byte says.
constexpr std::uint8_t Checksum(const std::uint8_t* report) {
    unsigned sum = 0;
    for (std::size_t i = kPayloadByte; i < kChecksumByte; ++i)
        sum += report[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

// Stores Checksum() at byte 32. `report` must hold at least 33 bytes.
constexpr void WriteChecksum(std::uint8_t* report) {
    report[kChecksumByte] = Checksum(report);
}
constexpr void WriteChecksum(CommandReport& report) {
    WriteChecksum(report.bytes.data());
}

// A cleared report with the command id and packet sequence set: 0x01 for a single-packet write.
constexpr CommandReport MakeWriteReport(std::uint8_t command, std::uint8_t lengthByte) {
    CommandReport r;
    r[kCommandByte] = command;
    r[kSequenceByte] = 0x01;
    r[kLengthByte] = lengthByte;
    return r;
}

// A read request: only the command byte is set; sent short.
constexpr Command MakeReadCommand(std::uint8_t command) {
    Command c;
    c.report[kCommandByte] = command;
    c.length = SendLength::kShort;
    return c;
}

}  // namespace cursorial
