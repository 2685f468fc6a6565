// Arrival and removal of hidraw nodes, watched through libudev on the "udev" source (events
// after udev's rules ran, so the node's permissions are final when the add is seen).
//
// Ids, interface number and usage come from the node's parents (the hid device's HID_ID, the
// USB interface's bInterfaceNumber, the hid device's report descriptor). At removal those
// parents are already gone, so what was learned at add time (or when the monitor started,
// for nodes present then) is kept per node and handed out with the removal.
#pragma once

#include <memory>

#include "device/HotplugEvent.h"

namespace cursorial {

// The monitor for real devices; nullptr when udev cannot be reached.
std::unique_ptr<HotplugSource> CreateUdevHotplugMonitor();

}  // namespace cursorial
