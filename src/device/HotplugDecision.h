// What an arrival or removal of a HID interface asks of the controller.
//
// Arrival: the first connection whose vendor and product id equal the interface's decides;
// the device-arrived task is queued only when the interface is a command interface (each
// interface of a device is announced on its own, so exactly one of them queues work).
// Removal: only interface 2 (the command interface) of a catalogue device counts, and only
// while the controller polls for notifications.
//
// Ids are compared as numbers. (A text pattern with the product id written without leading
// zeros never matched the four-digit form in a device path, so a device whose product id is
// below 0x1000 was never noticed.)
#pragma once

#include <cstdint>

#include "device/HotplugEvent.h"

namespace cursorial {

// The interface filter of the command interface: (0x0001, 0x0000) or (0xFF01, 0x0010).
constexpr bool IsCommandInterfaceUsage(std::uint16_t usagePage, std::uint16_t usage) {
    return (usagePage == 0x0001 && usage == 0x0000) || (usagePage == 0xFF01 && usage == 0x0010);
}

// The USB interface number of the command interface.
inline constexpr int kCommandInterfaceNumber = 2;

enum class HotplugAction {
    kNone,
    kDeviceArrived,  // queue the device-arrived task (2)
    kDeviceRemoved,  // queue the device-removed task (3)
};

// `connections` is the controller's connection list in order; each element has integer
// `vendorId` and `productId` members (DeviceEntry does).
template <typename Connections>
HotplugAction DecideHotplug(const HotplugEvent& event, const Connections& connections,
                            bool polling) {
    if (event.kind == HotplugEvent::Kind::kRemove && !polling)
        return HotplugAction::kNone;
    for (const auto& c : connections) {
        if (c.vendorId != event.vendorId || c.productId != event.productId)
            continue;
        if (event.kind == HotplugEvent::Kind::kAdd)
            return IsCommandInterfaceUsage(event.usagePage, event.usage)
                       ? HotplugAction::kDeviceArrived
                       : HotplugAction::kNone;
        return event.interfaceNumber == kCommandInterfaceNumber ? HotplugAction::kDeviceRemoved
                                                                : HotplugAction::kNone;
    }
    return HotplugAction::kNone;
}

}  // namespace cursorial
