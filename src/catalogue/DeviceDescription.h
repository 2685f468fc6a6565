// The device description file of one model (device/<model key>.xml), read three ways.
//
// Three operations read the file, and each opens it and walks it on its own, so each has its
// own view of what is there:
//   ReadDescriptionLoad      what loading the model into the window finds (picture, lighting,
//                            option switches, firmware server, buttons, lighting effects);
//   ReadDescriptionDefaults  what applying the defaults to a profile finds (DPI stages, report
//                            rate, power and sensor settings);
//   ReadDefaultReportRate    what restoring the report rate finds (mouse/mouse_info/report_rate).
// Every reader searches an element's children front to back, each search starting after the
// element found last at that level; an element that is not found leaves the position where it
// was. So a `report_rate` standing before `dpi_info` is seen by ReadDefaultReportRate but not by
// ReadDescriptionDefaults. A missing attribute is the empty text, a missing number 0, and a flag
// is on only when its text reads as the number 1.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/DataFile.h"
#include "store/Records.h"

namespace cursorial {

inline constexpr int kLightEffectCount = 6;
inline constexpr int kDescriptionDpiStages = 6;

// One `key` of `mouse_key`, numbers parsed.
struct DescriptionKey {
    int nameId = 0;     // name=: text id of the button's name
    int keyValue = 0;   // key_value=: the button's key code
    int direction = 0;  // direction=: callout direction code for the picture control
    int x1 = 0;         // rect="x1#x2#y": the callout runs from (x1, y) to (x2, y)
    int x2 = 0;
    int y = 0;
    int funcDescId = 0;   // func_desc=: text id of the default function's description
    bool dashed = false;  // dashed=
    int funcType = 0;     // func_type=, func_value=: the default function
    int funcValue = 0;
    std::u16string nameText;      // name= as it stands
    std::u16string funcDescText;  // func_desc= as it stands

    bool operator==(const DescriptionKey&) const = default;
};

// A button's default function as a store key-assignment row, so the button page can show and
// restore it like a stored one: key code and layout value = key_value, layout text = name= as
// text, type and value = func_type and func_value, description = func_desc= as text; the rest 0.
KeyAssignment ToDefaultAssignment(const DescriptionKey& key);

// The `custom` element: present, it sets all five (an attribute it lacks turns its switch off).
struct ShowFlags {
    bool dpiTips = true;
    bool saveTips = true;
    bool lod = true;
    bool sensor = true;
    bool respondTime = true;

    bool operator==(const ShowFlags&) const = default;
};

// What loading the description into the window finds. An empty optional means the element was
// not found and the window keeps what it had.
struct DescriptionLoad {
    std::optional<std::u16string> mouseImage;   // image_file mouse_img=
    std::optional<bool> lighting;               // menu light=
    std::optional<ShowFlags> show;              // custom
    std::optional<std::u16string> firmwareUrl;  // firmware url=
    // mouse_key: present, it replaces the callouts, the button list and the default
    // assignments (with its keys in file order, possibly none).
    std::optional<std::vector<DescriptionKey>> keys;
    // light_1 ... light_6 enable= inside mouse_info/light_info; each one found sets its effect.
    std::array<std::optional<bool>, kLightEffectCount> lightEffects;

    bool operator==(const DescriptionLoad&) const = default;
};

// The model's state as the window keeps it between loads, starting at the values it has when
// no description ever set them.
struct DescriptionState {
    bool lighting = true;
    ShowFlags show;
    std::array<bool, kLightEffectCount> lightEffects{};
    std::u16string firmwareUrl;
    std::vector<KeyAssignment> defaultAssignments;

    // Takes over what a load found; what it did not find stays as it was.
    void Apply(const DescriptionLoad& load);
};

struct DpiStageDefault {
    std::u16string value;  // value=, written as it stands
    int color = 0;         // color= converted by ColorTextToValue

    bool operator==(const DpiStageDefault&) const = default;
};

struct DpiDefaults {
    std::u16string defaultDpi;  // default_dpi=: the active stage
    std::u16string dpiCount;    // dpi_count=
    std::array<std::optional<DpiStageDefault>, kDescriptionDpiStages> stages;  // dpi_1 ... dpi_6

    bool operator==(const DpiDefaults&) const = default;
};

// What applying the defaults finds inside mouse_info, in its search order: dpi_info, then
// report_rate, sleep_light, move_wakeup, move_closelight, lod, button_respondtime.
struct DescriptionDefaults {
    std::optional<DpiDefaults> dpi;
    std::optional<std::u16string> reportRate;  // report_rate default_value=
    std::optional<std::u16string> sleepLight;  // value= of the rest
    std::optional<std::u16string> moveWakeup;
    std::optional<std::u16string> moveCloseLight;
    std::optional<std::u16string> lod;
    std::optional<std::u16string> buttonRespondTime;

    bool operator==(const DescriptionDefaults&) const = default;
};

// Readers. Each gives kOk with `out` filled, or the reason the operation stops (kMissing,
// kMalformed, kWrongRoot when the root is not `mouse`; for the defaults and the report rate
// also kNoSection when `mouse_info` is missing). `out` is reset first in every case.
DataFileStatus ReadDescriptionLoad(const std::filesystem::path& path, DescriptionLoad& out);
DataFileStatus ReadDescriptionDefaults(const std::filesystem::path& path, DescriptionDefaults& out);
// kNoSection also when mouse_info has no report_rate; the value is default_value= as text.
DataFileStatus ReadDefaultReportRate(const std::filesystem::path& path, std::u16string& out);

// The same readers over a document given as text.
DataFileStatus ParseDescriptionLoad(std::u16string_view text, DescriptionLoad& out);
DataFileStatus ParseDescriptionDefaults(std::u16string_view text, DescriptionDefaults& out);
DataFileStatus ParseDefaultReportRate(std::u16string_view text, std::u16string& out);

}  // namespace cursorial
