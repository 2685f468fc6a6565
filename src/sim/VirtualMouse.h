// The mouse's side of the command protocol, modelled on its own: it parses the reports it
// receives byte by byte and keeps its settings the way the firmware does (raw DPI codes, the
// button table as bytes, macro event bytes per button). It shares no code with the program's
// encoders, so a test that passes through it checks those encoders against an independent
// reading of the protocol.
//
// Command report as received (65 bytes, report id first):
//   0 report id 0 | 1 command | 2 status 0 | 3 (index << 4) | count | 4 length | 5..31 payload
//   32 checksum = sum of bytes 5..31 mod 256 | 33..64 zero
// A request whose byte 2 is not 0 is refused (0x04): the status byte is the answer's.
// Answer (64 bytes, no report id):
//   0 command | 1 status | 2, 3 zero | 4.. payload
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "sim/SimConfig.h"

namespace cursorial::sim {

inline constexpr std::size_t kRequestSize = 65;
inline constexpr std::size_t kAnswerSize = 64;
using Answer = std::array<std::uint8_t, kAnswerSize>;

// Status bytes of a refused command.
namespace status {
inline constexpr std::uint8_t kUnknownCommand = 0x01;
inline constexpr std::uint8_t kBadChecksum = 0x02;
inline constexpr std::uint8_t kBadSequence = 0x03;
inline constexpr std::uint8_t kBadValue = 0x04;
}  // namespace status

struct MouseState {
    std::uint8_t reportRate = 1;
    std::uint8_t dpiStages = 0;  // (current stage << 4) | number of stages
    std::array<std::array<std::uint16_t, 2>, 6> dpiCodes{};   // two codes per stage
    std::array<std::array<std::uint8_t, 3>, 6> dpiColours{};  // r, g, b
    std::uint8_t lightMode = 0;
    std::uint8_t lightLevels = 0;  // (brightness << 4) | speed
    std::uint8_t lightColourCount = 0;
    std::array<std::array<std::uint8_t, 3>, 7> lightColours{};
    std::uint8_t liftoff = 0;
    std::uint8_t sensorOption1 = 0;  // byte 6 of command 0x06
    std::uint8_t sensorOption2 = 0;  // byte 7 of command 0x06
    std::array<std::uint8_t, 4> power{};
    std::array<std::uint8_t, 63> buttonTable{};       // 21 entries of 3 bytes
    std::map<int, std::vector<std::uint8_t>> macros;  // button -> 4-byte events

    bool operator==(const MouseState&) const = default;
};

class VirtualMouse {
public:
    explicit VirtualMouse(const MouseConfig& config);

    // One command report as written. nullopt when the report is not one the mouse reads (not
    // 65 bytes, or a non-zero report id): it is dropped without an answer.
    std::optional<Answer> HandleCommand(std::span<const std::uint8_t> report);
    // The same report refused with `status` without being acted on (a mouse that says no keeps
    // its settings). nullopt for what HandleCommand would drop.
    std::optional<Answer> Refuse(std::span<const std::uint8_t> report, std::uint8_t status) const;

    // The DPI button on the mouse: the next stage becomes current. Returns the 0xC2 report.
    Answer PressDpiButton();
    // The receiver's connection report for the current link state.
    Answer ConnectionReport() const;

    const MouseConfig& Config() const { return config_; }
    const MouseState& State() const { return state_; }
    MouseState& MutableState() { return state_; }
    // The state the factory reset restores.
    MouseState FactoryState() const;

    bool SwitchedOn() const { return switchedOn_; }
    void SetSwitchedOn(bool on) { switchedOn_ = on; }
    std::uint8_t Battery() const { return battery_; }
    std::uint8_t Charge() const { return charge_; }
    void SetBattery(std::uint8_t level, std::uint8_t charge) {
        battery_ = level;
        charge_ = charge;
    }
    // Byte 14 of the information answer.
    bool InfoConnected() const { return infoConnected_; }
    void SetInfoConnected(bool connected) { infoConnected_ = connected; }
    int FactoryResets() const { return factoryResets_; }
    int LightingResets() const { return lightingResets_; }

private:
    std::uint8_t Apply(std::uint8_t command, const std::uint8_t* r, Answer& a);
    std::uint8_t ApplyMacroPacket(const std::uint8_t* r);
    std::uint8_t ApplyLighting(const std::uint8_t* r);

    MouseConfig config_;
    MouseState state_;
    bool switchedOn_;
    std::uint8_t battery_;
    std::uint8_t charge_;
    bool infoConnected_;
    // Reassembly of a macro sent in several packets.
    std::vector<std::uint8_t> macroBuffer_;
    int macroNextIndex_ = 0;
    int macroPackets_ = 0;
    int factoryResets_ = 0;
    int lightingResets_ = 0;
};

}  // namespace cursorial::sim
