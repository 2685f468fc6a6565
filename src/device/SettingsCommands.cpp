#include "device/SettingsCommands.h"

namespace cursorial {

// 0x02  | 4: 1 | 5: rate code |
Command BuildReportRateCommand(int reportRate) {
    Command c{MakeWriteReport(command::kReportRate, 1), SendLength::kLong};
    c.report[5] = Low8(reportRate);
    return c;
}

// 0x03  | 4: 0x25 | 5: (index << 4) | count |
//       | 6+4i, 7+4i: code of stage i (LE) | 8+4i, 9+4i: the same code again |   i = 0..5
//
// The length byte is 0x25 whatever the count; the codes occupy bytes 6..29. Index or count of
// 16 or more spills into the other nibble, as the mouse has always received it.
Command BuildDpiStagesCommand(const DpiStageSettings& stages, int sensor, DpiLimits limits) {
    static_assert(std::size_t{6 + 4 * kDpiStageCount} <= kChecksumByte,
                  "both codes of every stage fit the payload");
    Command c{MakeWriteReport(command::kDpiStages, 0x25), SendLength::kShort};
    c.report[5] = Low8((stages.index << 4) | stages.count);
    for (int i = 0; i < kDpiStageCount; ++i) {
        const int code = EncodeDpi(sensor, ClampDpi(stages.values[i], limits));
        const std::size_t at = 6 + 4 * static_cast<std::size_t>(i);
        c.report[at] = Low8(code);
        c.report[at + 1] = Low8(code >> 8);
        c.report[at + 2] = Low8(code);
        c.report[at + 3] = Low8(code >> 8);
    }
    return c;
}

// 0x04  | 4: 18 | 5+3i, 6+3i, 7+3i: red, green, blue of stage i |   i = 0..5
Command BuildDpiColoursCommand(const std::array<int, kDpiStageCount>& colours) {
    static_assert(std::size_t{5 + 3 * kDpiStageCount} <= kChecksumByte,
                  "every stage colour fits the payload");
    Command c{MakeWriteReport(command::kDpiColours, 18), SendLength::kLong};
    for (int i = 0; i < kDpiStageCount; ++i) {
        const std::size_t at = 5 + 3 * static_cast<std::size_t>(i);
        c.report[at] = Low8(colours[i]);
        c.report[at + 1] = Low8(colours[i] >> 8);
        c.report[at + 2] = Low8(colours[i] >> 16);
    }
    return c;
}

// 0x06  | 4: 5 | 5: lift-off | 6: sensor_flag has 8 | 7: sensor_flag has 4 |
Command BuildLiftSensorCommand(int liftoffHeight, int sensorFlag) {
    Command c{MakeWriteReport(command::kLiftSensor, 5), SendLength::kLong};
    c.report[5] = Low8(liftoffHeight);
    c.report[6] = (sensorFlag & 8) ? 1 : 0;
    c.report[7] = (sensorFlag & 4) ? 1 : 0;
    return c;
}

// 0x07  | 4: 4 | 5: sleep | 6: wake on move | 7: lights off while moving | 8: response |
Command BuildPowerCommand(const PowerSettings& power) {
    Command c{MakeWriteReport(command::kPower, 4), SendLength::kLong};
    c.report[5] = Low8(power.sleepLight);
    c.report[6] = Low8(power.moveWakeup);
    c.report[7] = Low8(power.moveCloseLight);
    c.report[8] = Low8(power.buttonRespondTime);
    return c;
}

// 0x0F  | 4: 0x01 | 5: 0xFF |
Command BuildFactoryResetCommand() {
    Command c{MakeWriteReport(command::kFactoryReset, 0x01), SendLength::kShort};
    c.report[5] = 0xFF;
    return c;
}

}  // namespace cursorial
