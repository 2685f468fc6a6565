#include "device/HidDescriptor.h"

#include <charconv>

namespace cursorial {

namespace {

std::optional<std::uint32_t> ParseHexField(std::string_view field) {
    std::uint32_t value = 0;
    const char* end = field.data() + field.size();
    auto [ptr, ec] = std::from_chars(field.data(), end, value, 16);
    if (ec != std::errc() || ptr != end || field.empty())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<HidIds> ParseHidId(std::string_view text) {
    const auto first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const auto second = text.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    auto vendor = ParseHexField(text.substr(first + 1, second - first - 1));
    auto product = ParseHexField(text.substr(second + 1));
    if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
        return std::nullopt;
    return HidIds{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

int ParseInterfaceNumber(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    auto value = ParseHexField(text);
    if (!value || *value > 0xFF)
        return -1;
    return static_cast<int>(*value);
}

//   short item:  prefix = tag(4) | type(2) | size(2)   size 3 means 4 data bytes
//   long item:   0xFE, data size, long tag, data
//   type 0 main (Collection = tag 0xA), 1 global (Usage Page = tag 0), 2 local (Usage = tag 0)
std::optional<HidUsage> TopLevelUsage(const std::uint8_t* descriptor, std::size_t length) {
    // The page is a global item and applies when the main item comes, whatever the order of
    // Usage Page and Usage before it.
    std::uint16_t page = 0;
    std::optional<std::uint32_t> usage;
    std::size_t usageSize = 0;
    std::size_t i = 0;
    while (i < length) {
        const std::uint8_t prefix = descriptor[i];
        if (prefix == 0xFE) {
            if (i + 1 >= length)
                return std::nullopt;
            i += 3 + descriptor[i + 1];
            continue;
        }
        const std::size_t size = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        if (i + 1 + size > length)
            return std::nullopt;
        std::uint32_t data = 0;
        for (std::size_t k = 0; k < size; ++k)
            data |= static_cast<std::uint32_t>(descriptor[i + 1 + k]) << (8 * k);
        const int type = (prefix >> 2) & 0x03;
        const int tag = prefix >> 4;
        if (type == 1 && tag == 0) {
            page = static_cast<std::uint16_t>(data);
        } else if (type == 2 && tag == 0 && !usage) {
            usage = data;
            usageSize = size;
        } else if (type == 0 && tag == 0xA) {
            if (!usage)
                return std::nullopt;
            if (usageSize == 4)
                return HidUsage{static_cast<std::uint16_t>(*usage >> 16),
                                static_cast<std::uint16_t>(*usage)};
            return HidUsage{page, static_cast<std::uint16_t>(*usage)};
        }
        i += 1 + size;
    }
    return std::nullopt;
}

}  // namespace cursorial
