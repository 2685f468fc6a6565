// Pure rules of the device description: colour texts, callout rectangles, the button list's
// size, and the settings that a description's defaults write into a profile.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/DeviceDescription.h"

namespace cursorial {

// "#RRGGBB" -> a colour value with red in the low byte (R + 256 G + 65536 B).
// The first character is dropped whatever it is. Of the rest, R is characters 1-2, G characters
// 3-4 (only 3 when three remain), B characters 5-6 (one or two); each is read as hexadecimal as
// far as it goes, an absent part being 0. A rest shorter than two or longer than six characters
// gives 0. So "FF0000" without its "#" reads as R = F0, G = 00, B = 0: 240.
int ColorTextToValue(std::u16string_view text);

struct CalloutLine {
    int x1 = 0;
    int x2 = 0;
    int y = 0;

    bool operator==(const CalloutLine&) const = default;
};

// "x1#x2#y": each part read as a decimal number as far as it goes; missing parts are 0.
CalloutLine ParseCalloutRect(std::u16string_view text);

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Rect&) const = default;
};

// Where the button list goes on the button page for `count` buttons at layout scale `scale`,
// every product truncated towards zero. At scale 1: (255, 170) - (465, 425 + 45 (count - 1)).
Rect ButtonListRect(int count, double scale);

struct SettingWrite {
    std::u16string key;
    std::u16string value;

    bool operator==(const SettingWrite&) const = default;
};

struct DefaultSettingPlan {
    // In the order they are to be written with SetConfigValue (plain updates of existing rows).
    std::vector<SettingWrite> writes;
    // Set only by the full variant when the description has a report rate: the number to take
    // as the highest report-rate level until the mouse reports its own.
    std::optional<int> highestReportRate;

    bool operator==(const DefaultSettingPlan&) const = default;
};

// The writes of applying `defaults` to a profile: with a dpi block "dpi_index", "dpi_flag",
// "dpi_count", then for each stage found "dpi_group<n>_value" and "dpi_group<n>_rgb"
// (dpi_1 -> group 0); unless `dpiOnly`, then "report_rate", "sleep_light", "move_wakeup",
// "move_closelight", "liftoff_height" (from lod), "button_respondtime", each when found.
DefaultSettingPlan PlanDefaultSettings(const DescriptionDefaults& defaults, bool dpiOnly);

}  // namespace cursorial
