// Fuzz target: what the hot-plug monitor reads about a hidraw node. The report descriptor comes
// from sysfs, so from whatever device was plugged in, hostile or broken ones included; the HID_ID
// property and the interface number attribute come from the kernel as text. The bytes are fed to
// the descriptor reader as they came and to the two text readers as text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/WideText.h"
#include "device/HidDescriptor.h"

namespace {

using namespace cursorial;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckDescriptor(const std::uint8_t* data, std::size_t size) {
    const auto usage = TopLevelUsage(data, size);
    if (!usage)
        return;
    // The reader stops at the first collection: whatever follows the descriptor cannot change
    // what it found.
    std::vector<std::uint8_t> longer(data, data + size);
    longer.insert(longer.end(), {0x06, 0x34, 0x12, 0x09, 0x56, 0xA1, 0x01, 0xFE});
    Require(TopLevelUsage(longer.data(), longer.size()) == usage);
}

void CheckTexts(std::string_view text) {
    if (const auto ids = ParseHidId(text)) {
        // What was read reads back the same from the kernel's own spelling.
        const std::string again = Format("0003:%08X:%08X", ids->vendorId, ids->productId);
        const auto reread = ParseHidId(again);
        Require(reread && reread->vendorId == ids->vendorId && reread->productId == ids->productId);
    }
    const int number = ParseInterfaceNumber(text);
    Require(number >= -1 && number <= 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDescriptor(data, size);
    CheckTexts(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
