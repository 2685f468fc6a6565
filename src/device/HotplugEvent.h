// Arrival and removal of HID interfaces, in one shape for every source: the udev monitor for
// real devices and the simulator's plug and unplug. What the program does with an event is
// decided by HotplugDecision, never by the source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cursorial {

struct HotplugEvent {
    enum class Kind { kAdd, kRemove };

    Kind kind = Kind::kAdd;
    std::string node;  // the interface's path as the backend's enumeration names it
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int interfaceNumber = -1;  // USB bInterfaceNumber; -1 when unknown
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;

    bool operator==(const HotplugEvent&) const = default;
};

// A file descriptor that becomes readable when events are pending, and the call that takes
// them. Meant to be watched from one thread (the window thread's event loop).
class HotplugSource {
public:
    virtual ~HotplugSource() = default;
    // Readable while events are pending; -1 when the source could not be set up.
    virtual int Fd() const = 0;
    // Every event pending now, oldest first; never blocks.
    virtual std::vector<HotplugEvent> ReadPendingEvents() = 0;
};

}  // namespace cursorial
