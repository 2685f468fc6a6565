// Macro data of one button (command 0x08): the button's key code followed by 4 bytes per key or
// mouse event, split into as many reports as it needs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "device/CommandReport.h"

namespace cursorial {

// Kinds of stored macro events.
namespace macro_event {
inline constexpr int kDelay = 1;      // value: milliseconds
inline constexpr int kKeyDown = 2;    // value: virtual key
inline constexpr int kKeyUp = 3;      // value: virtual key
inline constexpr int kMouseDown = 4;  // value: button bits (1 left, 2 right, 4 middle, 8, 16)
inline constexpr int kMouseUp = 5;
}  // namespace macro_event

struct MacroStep {
    int kind = 0;
    int value = 0;
};

inline constexpr int kMacroEventSize = 4;
// The packet count lives in the low nibble of the sequence byte: 15 packets of 27 bytes hold the
// key code and 101 events.
inline constexpr int kMacroMaxPackets = 15;
inline constexpr int kMacroMaxEvents = (kMacroMaxPackets * 27 - 1) / kMacroEventSize;
static_assert(kMacroMaxEvents == 101);
// Up to this many events the macro goes out in one report.
inline constexpr int kMacroSingleReportEvents = 6;
static_assert(std::size_t{1 + kMacroEventSize * kMacroSingleReportEvents} <= kPayloadCapacity,
              "a short macro fits one report");

// The event bytes: per key or mouse event marker, delay low, delay high, code. Delay events are
// folded into the event before them; other kinds produce nothing.
std::vector<std::uint8_t> EncodeMacroEvents(std::span<const MacroStep> steps);

// The key code byte followed by the event bytes.
std::vector<std::uint8_t> BuildMacroData(int keyCode, std::span<const MacroStep> steps);

enum class MacroBuildStatus {
    kOk,
    kTooLong,  // more than kMacroMaxEvents events: nothing is to be sent
};

struct MacroCommands {
    MacroBuildStatus status = MacroBuildStatus::kOk;
    int eventCount = 0;
    std::vector<Command> commands;  // in sending order, each sent short
};

// The reports of command 0x08 for one button. A macro longer than the sequence byte can number
// is refused as a whole rather than sent as a sequence the mouse would misread.
MacroCommands BuildMacroCommands(int keyCode, std::span<const MacroStep> steps);

}  // namespace cursorial
