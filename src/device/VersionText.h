// Version texts of the mouse and the receiver, and their major.minor display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cursorial {

// "%X" of a USB release number: 0x105 gives "105".
std::u16string ReleaseVersionText(std::uint32_t release);

// "%X%02X" of the firmware answer's two bytes: 1 and 5 give "105".
std::u16string FirmwareVersionText(std::uint8_t major, std::uint8_t minor);

// A version text is shown as its first character and its last two characters; a one-character
// text gives the same character twice ("5" -> "5" and "5").
struct VersionParts {
    std::u16string major;
    std::u16string minor;
};
VersionParts SplitVersionText(std::u16string_view text);

// "major.minor": "123" -> "1.23", "5" -> "5.5".
std::u16string MajorMinorText(std::u16string_view text);

}  // namespace cursorial
