#include "device/DpiCodec.h"

#include <algorithm>

namespace cursorial {

int EncodeDpi(int s, int d) {
    switch (s) {
        case 4:
            return d > 4000 ? (d - 4000) / 500 + 39 : d / 100;
        case 5:
            return d > 6400 ? (d - 6400) / 100 + 128 : d / 50;
        case 16:
        case 18:
        case 53:
            return d / 100;
        case 17:
            if (d >= 13000)
                return (d - 13000) / 1000 + 221;
            // Codes 200..220 step 100 DPI up to 12000; the next code, 221, is already 13000.
            // A DPI in between goes out as 12000 rather than as a code thousands above it.
            if (d > 10000)
                return std::min((d - 10000) / 100 + 200, 220);
            return d / 50;
        case 25:
            return d > 16000 ? (d - 16000) / 1000 + 160 : d / 100;
        case 37:
            return d > 5000 ? (d - 5000) / 500 + 50 : d / 100;
        case 38:
            return d > 5000 ? (d - 5000) / 500 + 50 : d / 100 - 1;
        default:  // 149, 150 and every other sensor
            return d / 50 - 1;
    }
}

int DecodeDpi(int s, int c) {
    switch (s) {
        case 4:
            return c <= 39 ? c * 100 : (c - 31) * 500;
        case 5:
            return c <= 128 ? c * 50 : (c - 64) * 100;
        case 16:
        case 18:
        case 53:
            return c * 100;
        case 17:
            if (c < 200)
                return c * 50;
            if (c <= 220)
                return (c - 100) * 100;
            return (c - 208) * 1000;
        case 25:
            return c < 160 ? c * 100 : (c - 144) * 1000;
        case 37:
            return c < 50 ? c * 100 : (c - 40) * 500;
        case 38:
            return c < 50 ? c * 100 : (c - 39) * 500;
        case 150:
            return c * 50;
        default:  // 149 and every other sensor
            return c * 50 + 50;
    }
}

SensorProfile SensorProfileFor(int sensor, SensorReadVariant variant) {
    switch (sensor) {
        case 17:
            return {{50, 24000}, 232, {}, u"50", u"24000"};
        case 5:
            return {{50, 12000},
                    variant == SensorReadVariant::kReconnect ? 184 : 183,
                    {},
                    u"50",
                    u"12000"};
        case 25:
            return {{100, 30000}, 174, {}, u"100", u"30000"};
        case 37:
            return {{100, 10000}, 60, {}, u"100", u"10000"};
        case 38:
            return {{200, 10000}, 59, {}, u"200", u"10000"};
        case 4:
            return {{100, 8000}, 47, {}, u"100", u"8000"};
        case 149:
            return {{100, 26000}, 520, 2, u"100", u"26000"};
        case 150:
            // The mouse takes up to 38000; the slider and its text stop at 32000.
            return {{100, 38000}, 640, 2, u"100", u"32000"};
        case 16:
        case 18:
            return {{100, 4800}, 48, {}, u"100", u"4800"};
        case 53:
            return {{100, 16000}, 160, {}, u"100", u"16000"};
        default:
            return {{50, 26000}, 520, {}, u"50", u"26000"};
    }
}

std::uint8_t RateClassFromCapability(std::uint8_t highestRateCode) {
    switch (highestRateCode) {
        case report_rate::k2000Hz:
            return 5;
        case report_rate::k4000Hz:
            return 6;
        case report_rate::k8000Hz:
            return 7;
        default:
            return 4;
    }
}

}  // namespace cursorial
