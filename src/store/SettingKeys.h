// The names of a profile's settings rows ("t_configdata"), in one place: the store seeds them,
// the synchronisation writes what the mouse reports under them, the write tasks read them and
// the profile exchange file carries them.
#pragma once

#include <string>
#include <string_view>

namespace cursorial::setting_key {

inline constexpr std::u16string_view kReportRate = u"report_rate";
inline constexpr std::u16string_view kReportRateWireless = u"report_rate_wireless";
inline constexpr std::u16string_view kDpiCount = u"dpi_count";
inline constexpr std::u16string_view kDpiIndex = u"dpi_index";
inline constexpr std::u16string_view kDpiFlag = u"dpi_flag";
inline constexpr std::u16string_view kLiftoffHeight = u"liftoff_height";
inline constexpr std::u16string_view kSensorFlag = u"sensor_flag";
inline constexpr std::u16string_view kSleepLight = u"sleep_light";
inline constexpr std::u16string_view kMoveWakeup = u"move_wakeup";
inline constexpr std::u16string_view kMoveCloseLight = u"move_closelight";
inline constexpr std::u16string_view kButtonRespondTime = u"button_respondtime";

// "dpi_group%d_value" and "dpi_group%d_rgb" of a stage counted from 0.
std::u16string DpiGroupValue(int stage);
std::u16string DpiGroupRgb(int stage);

}  // namespace cursorial::setting_key
