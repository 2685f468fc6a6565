#include "device/VersionText.h"

#include "common/text/WideText.h"

namespace cursorial {

std::u16string ReleaseVersionText(std::uint32_t release) {
    return FormatW("%X", release);
}

std::u16string FirmwareVersionText(std::uint8_t major, std::uint8_t minor) {
    return FormatW("%X%02X", unsigned{major}, unsigned{minor});
}

VersionParts SplitVersionText(std::u16string_view text) {
    if (text.empty())
        return {};
    const std::size_t minorFrom = text.size() >= 2 ? text.size() - 2 : 0;
    return {std::u16string(text.substr(0, 1)), std::u16string(text.substr(minorFrom))};
}

std::u16string MajorMinorText(std::u16string_view text) {
    const VersionParts parts = SplitVersionText(text);
    return parts.major + u"." + parts.minor;
}

}  // namespace cursorial
