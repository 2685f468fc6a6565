// What the simulator simulates: the mice (their identity and factory state) and the USB
// devices through which they are reached (a cable connection or a receiver), with the faults
// a test or a user wants to see. Read from the file named by CURSORIAL_SIM (format in
// docs/simulator.md); without one, the shipped models: Aero by cable and by receiver, Terra by
// cable.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cursorial::sim {

inline constexpr int kCable = 0;
inline constexpr int kReceiver = 1;

struct MouseConfig {
    std::string name;
    std::string deviceId = "AE01";  // the 4 identifier bytes of the information answer
    std::uint8_t sensor = 150;
    std::uint8_t maxRate = 0x40;  // highest report-rate code (0x10, 0x20, 0x40; else 1000 Hz)
    std::uint8_t battery = 80;
    std::uint8_t charge = 0;
    std::uint8_t firmwareMajor = 1;
    std::uint8_t firmwareMinor = 5;
    bool switchedOn = true;     // seen by its receivers
    bool infoConnected = true;  // byte 14 of the information answer
    // Factory state of the settings (restored by the factory reset command).
    std::uint8_t reportRate = 1;
    std::uint8_t dpiCount = 4;
    std::uint8_t dpiIndex = 1;
    std::array<std::uint16_t, 6> dpiCodes{8, 16, 32, 64, 128, 256};
    std::array<std::uint32_t, 6> dpiColours{0x0000FF, 0x00FF00, 0xFF0000,
                                            0x00FFFF, 0xFFFF00, 0xFF00FF};  // 0xBBGGRR
    std::uint8_t lightMode = 1;
    std::uint8_t lightBrightness = 5;
    std::uint8_t lightSpeed = 3;
    std::uint8_t liftoff = 1;
    std::array<std::uint8_t, 2> sensorOptions{0, 0};  // bytes 6 and 7 of command 0x06
    std::array<std::uint8_t, 4> power{10, 1, 0, 4};   // sleep, wake, lights off, response
};

// What happens to one picked command (DeviceConfig::failAt).
enum class CommandFault {
    kNoAnswer,    // heard, acted on, never answered
    kRefused,     // refused with status 0x04, not acted on
    kUnplugged,   // the device is unplugged as the command reaches it: no answer, nothing more
    kLateAnswer,  // answered lateByMs later than it would have been
};
// "no_answer", "refused", "unplugged", "late".
bool ParseCommandFault(std::string_view text, CommandFault& fault);

struct DeviceConfig {
    std::string name;
    std::string mouse;  // MouseConfig::name
    int connection = kCable;
    std::uint16_t vendorId = 0x1209;
    std::uint16_t productId = 0x0001;
    std::uint16_t release = 0x0105;
    bool plugged = true;
    // Faults present from the start.
    bool denyOpen = false;    // the interfaces exist but may not be opened (no permission)
    int answerLimit = -1;     // answers this many commands, then none (-1: no limit)
    int dropAnswers = 0;      // leaves the first this many commands unanswered
    std::uint8_t status = 0;  // non-zero: every command is refused with this status
    int answerDelayMs = 0;    // extra time before each answer
    int unplugAfter = -1;     // unplugged right after answering this many commands
    bool stateWhenOff =
        false;  // a receiver answers commands with C0 00 00 00 while its mouse is off
    unsigned refuseUpgrade = 0;  // upgrade reports it refuses (UpgradeReportKind bits)
    int failAt = 0;              // the failAt-th command (1: the first) meets failWith
    CommandFault failWith = CommandFault::kNoAnswer;
    int lateByMs = 2000;
};

struct SimConfig {
    int latencyMs = 1;  // per report, each way
    std::vector<MouseConfig> mice;
    std::vector<DeviceConfig> devices;
};

// The shipped models: "aero" (AE01, sensor 150) by "aero-cable" 1209:0001 and "aero-receiver"
// 1209:0002, "terra" (TR01, sensor 17) by "terra-cable" 1209:0003.
SimConfig DefaultSimConfig();

// Parses the file format; false with a message naming the line on a fault.
bool ParseSimConfig(std::string_view text, SimConfig& config, std::string& error);
bool LoadSimConfig(const std::filesystem::path& file, SimConfig& config, std::string& error);

}  // namespace cursorial::sim
