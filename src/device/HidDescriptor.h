// Small readers for what sysfs and udev say about a hidraw node: the HID_ID property, the USB
// interface number attribute and the interface's top-level usage from its report descriptor.
// Pure, so the hot-plug monitor's parsing is tested without devices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace cursorial {

struct HidIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// "0003:00001209:00000001" (bus:vendor:product, hexadecimal) -> ids; nullopt when malformed.
std::optional<HidIds> ParseHidId(std::string_view text);

// bInterfaceNumber as sysfs gives it ("02\n", hexadecimal) -> 2; -1 when malformed.
int ParseInterfaceNumber(std::string_view text);

struct HidUsage {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    bool operator==(const HidUsage&) const = default;
};

// The usage page and usage of the first top-level collection of a report descriptor: the
// Usage item in force when the first Collection item opens (a 4-byte Usage carries its own
// page in the upper half). nullopt when no collection with a usage is found or the descriptor
// is cut short.
std::optional<HidUsage> TopLevelUsage(const std::uint8_t* descriptor, std::size_t length);

}  // namespace cursorial
