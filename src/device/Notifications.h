// Reports the receiver and the mouse send unasked: the receiver's connection report (0xC0) and
// the mouse's DPI change report (0xC2). Positions count from the first byte after the report id.
#pragma once

#include <cstdint>
#include <span>
#include <variant>

namespace cursorial {

inline constexpr std::uint8_t kReceiverConnectionReport = 0xC0;
inline constexpr std::uint8_t kDpiChangeReport = 0xC2;

// 0xC0  | 1: 1 = mouse connected, else not | 2: battery level, 0 = none in this report |
//       | 3: charge state |
struct ReceiverConnection {
    std::uint8_t connectedByte = 0;  // kept whole: it becomes the connected flag
    std::uint8_t batteryLevel = 0;
    std::uint8_t chargeState = 0;

    bool MouseConnected() const { return connectedByte == 1; }
    // Only a report with a battery level carries battery and connection state for the display.
    bool HasBatteryInfo() const { return batteryLevel != 0; }
};

// 0xC2  | 1: (stage << 4) | count |
struct DpiChange {
    int stage = 0;
    int count = 0;
};

using Notification = std::variant<std::monostate, ReceiverConnection, DpiChange>;

// Recognises one unasked report; anything else (also an empty or short buffer) is monostate.
Notification ParseNotification(std::span<const std::uint8_t> report);

}  // namespace cursorial
