// Write commands of the performance settings: report rate, DPI stages and colours, lift-off and
// sensor options, sleep/wake/button response, and the factory reset. Each builder takes plain
// numbers (the caller reads them from the profile) and returns the report with the length it is
// sent with. A byte takes the low 8 bits of its number.
#pragma once

#include <array>

#include "device/CommandReport.h"
#include "device/DpiCodec.h"

namespace cursorial {

inline constexpr int kDpiStageCount = 6;  // stages the mouse holds

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
