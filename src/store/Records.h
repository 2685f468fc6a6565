// The store's records: one struct per table row, fields in column meaning order. Texts are
// UTF-16 here and UTF-8 in the database. A default-constructed record is all zeros with empty
// texts.
#pragma once

#include <array>
#include <string>

namespace cursorial {

// One row of t_profile_data.
struct ProfileRecord {
    int id = 0;           // profile
    std::u16string name;  // name
    std::u16string app;   // app, always written empty
    int type = 0;         // type, always written 0
    int status = 0;       // status, 1 for the active profile

    bool operator==(const ProfileRecord&) const = default;
};

// One row of t_key_macro_data: a button whose function the user changed. The same type carries
// the defaults of a model's description (layout value = key code, layout text = the name's text
// id, description = the default function's text id, all as decimal text where text).
struct KeyAssignment {
    int keyId = 0;               // key_id
    int profile = 0;             // profile
    int layer = 0;               // fn_layer, always 0
    int keyCode = 0;             // key_code
    int layoutValue = 0;         // layout_value
    std::u16string layoutText;   // layout_desc
    int type = 0;                // macro_type: button function group 1..9
    int value = 0;               // macro_value: function, macro id (type 4), key usage (type 2)
    int value2 = 0;              // macro_value2: modifier bits (type 2), second parameter (type 7)
    int value3 = 0;              // macro_value3
    std::u16string description;  // macro_desc: the text shown for the button

    bool operator==(const KeyAssignment&) const = default;
};

// One row of t_macro_data. Macros belong to the model, not to a profile.
struct Macro {
    int id = 0;           // macro_id
    std::u16string name;  // name
    int playType = 0;     // play_type: 0 repeat playCount times, 1 and 2 the other play modes
    int playCount = 0;    // play_times
    int delayType = 0;    // delay_type: 0 none, 1 recorded, 2 fixed
    int delayTime = 0;    // delay_time: the fixed delay in ms

    bool operator==(const Macro&) const = default;
};

// Event kinds of a macro.
inline constexpr int kMacroEventDelay = 1;    // value: milliseconds
inline constexpr int kMacroEventKeyDown = 2;  // value: virtual-key code
inline constexpr int kMacroEventKeyUp = 3;
inline constexpr int kMacroEventButtonDown = 4;  // value: 1 left, 2 right, 4 middle, 8, 16
inline constexpr int kMacroEventButtonUp = 5;

// One row of t_macrorecord.
struct MacroEvent {
    int id = 0;                  // record_id
    int macroId = 0;             // macro_id
    int kind = 0;                // type
    int position = 0;            // record_index: events are ordered by it
    int value = 0;               // value
    int timestamp = 0;           // delay_time: pairs the down and up rows of one action
    std::u16string description;  // desc

    bool operator==(const MacroEvent&) const = default;
};

// One row of t_light_data: one lighting mode of one profile.
struct LightSetting {
    int id = 0;           // light_id
    int profile = 0;      // profile
    std::u16string name;  // name
    int mode = 0;         // mode
    int brightness = 0;   // 0..4
    int speed = 0;        // 0..4
    int direction = 0;
    int colorful = 0;
    int colorIndex = 0;           // colorindex
    std::array<int, 7> colors{};  // color_value1..color_value7, colour values (red in the low byte)
    int configFunc = 0;           // config_func: what the lighting page offers for the mode
    int reserved = 0;             // the mode's name as a language text id
    int status = 0;               // 1 for the profile's active mode

    bool operator==(const LightSetting&) const = default;
};

}  // namespace cursorial
