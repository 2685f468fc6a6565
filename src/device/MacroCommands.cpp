#include "device/MacroCommands.h"

#include <algorithm>

#include "device/KeyTables.h"

namespace cursorial {
namespace {

struct EncodedEvent {
    std::uint8_t marker;
    std::uint8_t code;
    long long delay;  // sum of the delay events after it, in milliseconds
};

// Keys the event encoding sends as modifier events. 0x5D (Applications), 0xA6 and 0xA7 are in
// this set although the modifier table has no bit for them; they go out with their own code.
bool IsModifierRowKey(int key) {
    return (key >= 0xA0 && key <= 0xA7) || key == 0x5B || key == 0x5D;
}

// Event (4 bytes):
//   | marker | delay low | delay high | code |
//   key down: 0x20 + modifier bits, or 0x30 + HID usage
//   key up:   0xA0 + modifier bits, or 0xB0 + HID usage
//   mouse:    0x10 down / 0x90 up + button bits
bool Encode(const MacroStep& step, EncodedEvent& out) {
    switch (step.kind) {
        case macro_event::kKeyDown:
        case macro_event::kKeyUp: {
            const bool down = step.kind == macro_event::kKeyDown;
            if (IsModifierRowKey(step.value)) {
                out = {down ? std::uint8_t{0x20} : std::uint8_t{0xA0},
                       Low8(ModifierBits(step.value)), 0};
            } else {
                out = {down ? std::uint8_t{0x30} : std::uint8_t{0xB0},
                       UsageFromVirtualKey(step.value), 0};
            }
            return true;
        }
        case macro_event::kMouseDown:
            out = {0x10, Low8(step.value), 0};
            return true;
        case macro_event::kMouseUp:
            out = {0x90, Low8(step.value), 0};
            return true;
        default:
            return false;
    }
}

}  // namespace

// Delays: an event waits the sum of the delay events after it, up to the next key or mouse event
// (events of other kinds do not end the sum). A sum of 0 becomes 1, except on the last event of a
// macro that ends with delay events, which gets the sum as it is. Delays before the first event
// are added to the first event's sum before that rule. The mouse receives the low 16 bits.
std::vector<std::uint8_t> EncodeMacroEvents(std::span<const MacroStep> steps) {
    std::vector<EncodedEvent> events;
    long long leading = 0;
    bool endsWithDelay = false;
    for (const auto& step : steps) {
        if (step.kind == macro_event::kDelay) {
            (events.empty() ? leading : events.back().delay) += step.value;
            endsWithDelay = true;
            continue;
        }
        EncodedEvent e{};
        if (Encode(step, e)) {
            events.push_back(e);
            endsWithDelay = false;
        }
    }
    if (events.empty())
        return {};
    events.front().delay += leading;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(events.size() * kMacroEventSize);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const bool keepAsIs = endsWithDelay && i + 1 == events.size();
        const long long sum = events[i].delay;
        const auto delay = static_cast<std::uint16_t>(
            static_cast<unsigned long long>(sum == 0 && !keepAsIs ? 1 : sum) & 0xFFFF);
        bytes.push_back(events[i].marker);
        bytes.push_back(static_cast<std::uint8_t>(delay & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(delay >> 8));
        bytes.push_back(events[i].code);
    }
    return bytes;
}

std::vector<std::uint8_t> BuildMacroData(int keyCode, std::span<const MacroStep> steps) {
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(keyCode & 0xFF)};
    const std::vector<std::uint8_t> events = EncodeMacroEvents(steps);
    data.insert(data.end(), events.begin(), events.end());
    return data;
}

// Up to 6 events, one report:
//   | 3: 0x01 | 4: 4n + 1 | 5..: key code, events |
// More, packets of 27 data bytes:
//   | 3: (i << 4) | packets | 4: 27, or the remainder in a short last packet | 5..31: data |
// The report is not cleared between packets, so a short last packet still carries the previous
// packet's bytes after its length (the checksum covers them like any payload byte).
MacroCommands BuildMacroCommands(int keyCode, std::span<const MacroStep> steps) {
    MacroCommands result;
    const std::vector<std::uint8_t> data = BuildMacroData(keyCode, steps);
    const std::size_t total = data.size();
    result.eventCount = static_cast<int>((total - 1) / kMacroEventSize);

    if (result.eventCount <= kMacroSingleReportEvents) {
        Command c{MakeWriteReport(command::kMacroData, static_cast<std::uint8_t>(total)),
                  SendLength::kShort};
        std::copy(data.begin(), data.end(), c.report.bytes.begin() + kPayloadByte);
        result.commands.push_back(c);
        return result;
    }
    if (result.eventCount > kMacroMaxEvents) {
        result.status = MacroBuildStatus::kTooLong;
        return result;
    }

    const std::size_t packets = (total + kPayloadCapacity - 1) / kPayloadCapacity;
    CommandReport report;
    report[kCommandByte] = command::kMacroData;
    for (std::size_t i = 0; i < packets; ++i) {
        const std::size_t from = i * kPayloadCapacity;
        const std::size_t length = std::min(kPayloadCapacity, total - from);
        report[kStatusByte] = 0;
        report[kSequenceByte] = static_cast<std::uint8_t>((i << 4) | packets);
        report[kLengthByte] = static_cast<std::uint8_t>(length);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(from), length,
                    report.bytes.begin() + kPayloadByte);
        result.commands.push_back({report, SendLength::kShort});
    }
    return result;
}

}  // namespace cursorial
