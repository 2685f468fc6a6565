#include "device/Notifications.h"

namespace cursorial {

Notification ParseNotification(std::span<const std::uint8_t> r) {
    if (r.size() >= 4 && r[0] == kReceiverConnectionReport) {
        return ReceiverConnection{r[1], r[2], r[3]};
    }
    if (r.size() >= 2 && r[0] == kDpiChangeReport) {
        return DpiChange{r[1] >> 4, r[1] & 0x0F};
    }
    return std::monostate{};
}

}  // namespace cursorial
