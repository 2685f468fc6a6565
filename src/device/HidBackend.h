// The seam between the device link and the HID system: enumerate interfaces, open one by path,
// write and read reports, close. Two implementations serve it: hidapi over hidraw for real
// devices and the simulator for tests and for trying the program without hardware.
//
// Contract shared by every backend (the hidapi contract the link was written against):
//  - Write takes one output report, report id first, and writes exactly the bytes given; the
//    caller pads to the interface's report length. Result: bytes written, or -1.
//  - Read returns one input report (at most `length` bytes of it): the number of bytes, 0 when
//    nothing arrived within the timeout, -1 on error (device gone). On an interface without
//    report ids the data starts with the first byte after the id.
//  - Destroying a handle closes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/HotplugEvent.h"

namespace cursorial {

// One HID interface (top-level collection) as the enumeration lists it.
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t release = 0;  // bcdDevice of the USB device descriptor
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    int interfaceNumber = -1;

    bool operator==(const HidInterfaceInfo&) const = default;
};

// Why an open failed. Only kPermission is acted upon (the user is told how to grant access).
enum class HidOpenError {
    kNone,
    kPermission,  // the node exists but this user may not read and write it
    kGone,        // the node disappeared (unplugged between enumeration and open)
    kOther,
};

class HidHandle {
public:
    virtual ~HidHandle() = default;
    virtual int Write(const std::uint8_t* data, std::size_t length) = 0;
    virtual int Read(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    virtual const std::string& Path() const = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every HID interface present. Empty when the HID system is unavailable; the next call
    // tries to reach it again.
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Opens an interface for reading and writing; nullptr on failure with the reason in *error
    // (when error is given).
    virtual std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenError* error) = 0;
    // A source of arrival and removal events for the interfaces this backend serves, or
    // nullptr when the backend cannot watch.
    virtual std::unique_ptr<HotplugSource> CreateHotplugSource() = 0;
    // "hidapi" or "sim": shown by diagnostics.
    virtual const char* Name() const = 0;
};

}  // namespace cursorial
