// DPI values on the wire. The mouse carries a DPI as a 16-bit code whose scale depends on its
// sensor; the sensor code (byte 10 of the information answer) also decides the DPI limits, the
// range of the DPI slider and the report-rate class.
#pragma once

#include <cstdint>
#include <optional>

namespace cursorial {

// E(s, d): the code sent for DPI d with sensor s. Integer divisions truncate. The result is an
// int; the report carries its low 16 bits.
int EncodeDpi(int sensor, int dpi);

// D(s, c): the DPI of a code read back from the mouse. Not the inverse of EncodeDpi for every
// sensor (sensors 38 and 150 read back one step apart); both tables are the mouse's own.
int DecodeDpi(int sensor, int code);

struct DpiLimits {
    int lowest = 50;
    int highest = 26000;
};

// The value the DPI write sends: below the lowest it becomes the lowest, above the highest the
// highest.
constexpr int ClampDpi(int dpi, DpiLimits limits) {
    if (dpi < limits.lowest)
        return limits.lowest;
    if (dpi > limits.highest)
        return limits.highest;
    return dpi;
}

// Which settings read asked for the sensor row: the reconnect read sets a slightly longer slider
// for sensor 5.
enum class SensorReadVariant { kFull, kReconnect };

// One row of the sensor table: DPI limits, the DPI slider's position range and its end texts.
struct SensorProfile {
    DpiLimits limits;
    int sliderHighest = 520;
    std::optional<int> sliderLowest;  // set for the sensors whose slider starts at 2
    const char16_t* lowestText = u"50";
    const char16_t* highestText = u"26000";
};

// The row for a sensor code; unknown sensors get limits 50..26000 and the slider up to 520.
SensorProfile SensorProfileFor(int sensor, SensorReadVariant variant = SensorReadVariant::kFull);

// Rate class from byte 11 of the information answer (the highest report-rate code the mouse
// supports): 0x10 -> 5, 0x20 -> 6, 0x40 -> 7, anything else -> 4 (up to 1000 Hz).
std::uint8_t RateClassFromCapability(std::uint8_t highestRateCode);

// Report-rate codes as stored and sent.
namespace report_rate {
inline constexpr int k125Hz = 8;
inline constexpr int k250Hz = 4;
inline constexpr int k500Hz = 2;
inline constexpr int k1000Hz = 1;
inline constexpr int k2000Hz = 0x10;
inline constexpr int k4000Hz = 0x20;
inline constexpr int k8000Hz = 0x40;
}  // namespace report_rate

}  // namespace cursorial
