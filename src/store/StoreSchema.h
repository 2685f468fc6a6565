// The configuration database's schema and the settings every new profile starts with.
#pragma once

#include <array>
#include <string_view>

namespace cursorial {

// Run in this order when a model's database file is created. The texts are stored by SQLite in
// sqlite_master as they stand here (tabs included), so existing databases carry exactly these;
// keep them byte for byte.
inline constexpr std::array<const char*, 15> kSchemaStatements = {
    "CREATE TABLE IF NOT EXISTS t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t  profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t  name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\tprofile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, "
    "layout_desc TEXT, \t\t\t\t\t\t\t\tmacro_type INTEGER, macro_value INTEGER, macro_value2 "
    "INTEGER, macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t  macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t   name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t  macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value "
    "INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t\t\t  profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed "
    "INTEGER, \t\t\t\t\t\t\t\t\t\tdirection INTEGER, colorful INTEGER, colorindex INTEGER, "
    "\t\t\t\t\t\t\t\t\t\tcolor_value1 INTEGER, color_value2 INTEGER, color_value3 INTEGER, "
    "color_value4 INTEGER,\t\t\t\t\t\t\t\t\t\tcolor_value5 INTEGER, color_value6 INTEGER, "
    "color_value7 INTEGER,\t\t\t\t\t\t\t\t\t\tconfig_func INTEGER, reserved INTEGER, status "
    "INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\t\t\t\t\t\t\t\t   profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

struct DefaultSetting {
    std::string_view key;
    std::string_view value;
};

// One row per key is inserted for every new profile, in this order. Writing a setting only ever
// updates an existing row, so a key missing here can never be stored.
inline constexpr std::array<DefaultSetting, 40> kDefaultSettings = {{
    {"version", "1.0.1"},
    {"lightmode", "3"},
    {"sleep_light", "1"},
    {"move_wakeup", "1"},
    {"move_closelight", "1"},
    {"report_rate", "2"},  // 8 = 125 Hz, 4 = 250, 2 = 500, 1 = 1000, 16 = 2000, 32, 64 = 8000
    {"report_rate_wireless", "1"},
    {"report_count", "4"},
    {"report_flag", "127"},
    {"button_respondtime", "8"},
    {"sensor_flag", "53"},  // 0x35
    {"liftoff_height", "1"},
    {"scroll_flag", "1"},
    {"e-sports_flag", "0"},
    {"leftbtn_lock", "1"},
    {"dpi_flag", "6"},
    {"dpi_index", "1"},
    {"dpi_count", "6"},
    {"dpi_group0_value", "800"},
    {"dpi_group1_value", "1600"},
    {"dpi_group2_value", "2400"},
    {"dpi_group3_value", "3200"},
    {"dpi_group4_value", "6400"},
    {"dpi_group5_value", "26000"},
    {"dpi_group6_value", "26000"},
    {"dpi_group7_value", "0"},
    {"dpi_group0_rgb", "255"},       // 0x0000FF
    {"dpi_group1_rgb", "16711680"},  // 0xFF0000
    {"dpi_group2_rgb", "65280"},     // 0x00FF00
    {"dpi_group3_rgb", "65535"},     // 0x00FFFF
    {"dpi_group4_rgb", "16711935"},  // 0xFF00FF
    {"dpi_group5_rgb", "16776960"},  // 0xFFFF00
    {"dpi_group6_rgb", "16712191"},  // 0xFF01FF
    {"dpi_group7_rgb", "16777215"},  // 0xFFFFFF
    {"dpi_group8_rgb", "2139135"},   // 0x20A3FF, a colour without a DPI row
    {"mouse_speed", "10"},
    {"mouse_sensitivity", "1"},
    {"wheel_scrollflag", "0"},
    {"wheel_scrolllines", "3"},
    {"doubleclick_time", "550"},
}};

// True when `key` is one of the default list (the keys a profile can store).
constexpr bool IsSettingKey(std::string_view key) {
    for (const auto& setting : kDefaultSettings) {
        if (setting.key == key)
            return true;
    }
    return false;
}

}  // namespace cursorial
