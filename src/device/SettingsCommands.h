// Write commands of the performance settings: report rate, DPI stages and colours, lift-off and
// sensor options, sleep/wake/button response, and the factory reset. Each builder takes the
// current profile's values as numbers (the stored decimal texts already read with TextToInt) and
// returns the report with the length it is sent with. A byte takes the low 8 bits of its number.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "device/CommandReport.h"
#include "device/DpiCodec.h"

namespace cursorial {

inline constexpr int kDpiStageCount = 6;  // stages the mouse holds

// Keys of the profile settings that the commands read and the settings read writes.
namespace setting_key {
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
std::u16string DpiGroupValue(int stage);  // "dpi_group%d_value"
std::u16string DpiGroupRgb(int stage);    // "dpi_group%d_rgb"
}  // namespace setting_key

// Reads one setting of the current profile as a number (missing or non-numeric text gives 0).
using SettingReader = std::function<int(std::u16string_view key)>;

struct DpiStageSettings {
    int count = 0;                             // "dpi_count"
    int index = 0;                             // "dpi_index"
    std::array<int, kDpiStageCount> values{};  // "dpi_group0_value" ...
};

struct PowerSettings {
    int sleepLight = 0;         // "sleep_light"
    int moveWakeup = 0;         // "move_wakeup"
    int moveCloseLight = 0;     // "move_closelight"
    int buttonRespondTime = 0;  // "button_respondtime"
};

DpiStageSettings ReadDpiStageSettings(const SettingReader& read);
std::array<int, kDpiStageCount> ReadDpiColours(const SettingReader& read);
PowerSettings ReadPowerSettings(const SettingReader& read);

// 0x02: the report-rate code ("report_rate"). Sent long.
Command BuildReportRateCommand(int reportRate);

// 0x03: the DPI stages. Each stage value is limited to `limits` and encoded for `sensor`; both
// copies of a stage's code carry the same value. Sent short.
Command BuildDpiStagesCommand(const DpiStageSettings& stages, int sensor, DpiLimits limits);

// 0x04: the stage colours, each red + 256 x green + 65536 x blue. Sent long.
Command BuildDpiColoursCommand(const std::array<int, kDpiStageCount>& colours);

// 0x06: lift-off distance and the two sensor options the mouse takes from "sensor_flag"
// (values 8 and 4). Sent long.
Command BuildLiftSensorCommand(int liftoffHeight, int sensorFlag);

// 0x07: sleep, wake on movement, lights off while moving, button response. Sent long.
Command BuildPowerCommand(const PowerSettings& power);

// 0x0F: factory reset of the mouse. Sent short; its answer does not matter.
Command BuildFactoryResetCommand();

}  // namespace cursorial
