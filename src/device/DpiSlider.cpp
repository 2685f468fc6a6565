#include "device/DpiSlider.h"

#include <algorithm>

namespace cursorial {
namespace {

// Rounds down to a multiple of step (toward zero, as the integer division does), then limits.
int GridAndLimit(int value, int step, int lowest, int highest) {
    return std::clamp(value / step * step, lowest, highest);
}

}  // namespace

int SliderPositionFromDpi(int s, int d) {
    switch (s) {
        case 17:
            if (d <= 10000)
                return d / 50;
            if (d <= 12000)
                return (d - 10000) / 100 + 200;
            return (d - 13000) / 1000 + 221;
        case 5:
            return d <= 6400 ? d / 50 : (d - 6400) / 100 + 128;
        case 25:
            return d <= 16000 ? d / 100 : (d - 16000) / 1000 + 160;
        case 37:
            return d <= 5000 ? d / 100 : (d - 5000) / 500 + 50;
        case 38:
            return d <= 5000 ? d / 100 - 1 : (d - 5000) / 500 + 50;
        case 4:
            return d <= 4000 ? d / 100 : (d - 4000) / 500 + 39;
        case 149:
        case 150:
            return d / 50 - 1;
        case 16:
        case 18:
        case 53:
            return d / 100;
        default:
            return d / 50;
    }
}

int DpiFromSliderValue(int s, int p) {
    int dpi = 0;
    int maximum = 26000;
    switch (s) {
        case 17:
            dpi = p <= 200 ? 50 * p : p <= 220 ? 100 * (p - 100) : 1000 * (p - 208);
            maximum = 24000;
            break;
        case 5:
            dpi = p <= 128 ? 50 * p : 100 * (p - 64);
            maximum = 12000;
            break;
        case 25:
            dpi = 100 * p < 16000 ? 100 * p : 1000 * (p - 144);
            maximum = 30000;
            break;
        case 37:
            dpi = 100 * p <= 5000 ? 100 * p : 500 * (p - 40);
            maximum = 10000;
            break;
        case 38:
            dpi = 100 * p < 5000 ? 100 * p + 100 : 500 * (p - 39);
            maximum = 10000;
            break;
        case 4:
            dpi = p <= 39 ? 100 * p : 500 * (p - 31);
            maximum = 8000;
            break;
        case 149:
            dpi = 50 * p;
            maximum = 26000;
            break;
        case 150:
            dpi = 50 * p;
            maximum = 32000;
            break;
        case 16:
        case 18:
            dpi = 100 * p;
            maximum = 4800;
            break;
        case 53:
            dpi = 100 * p;
            maximum = 16000;
            break;
        default:
            dpi = 50 * p;
            break;
    }
    return std::min(dpi, maximum);
}

int NormaliseTypedDpi(int s, int t) {
    switch (s) {
        case 17:
            return GridAndLimit(t, 50, 50, 24000);
        case 5:
            return GridAndLimit(t, 50, 50, 12000);
        case 25:
            return GridAndLimit(t, 100, 100, 30000);
        case 37:
            // 100 steps up to 5000, 500 steps above.
            if (t < 100)
                return 100;
            if (t <= 5000)
                return t / 100 * 100;
            return std::min(5000 + (t - 5000) / 500 * 500, 10000);
        case 38:
            return GridAndLimit(t, 100, 200, 10000);
        case 4: {
            // 100 steps up to 4000, 500 steps above.
            const int rounded = t / 100 * 100;
            if (rounded < 100)
                return 100;
            if (rounded <= 4000)
                return rounded;
            return std::min(4000 + (rounded - 4000) / 500 * 500, 8000);
        }
        case 149:
            return GridAndLimit(t, 50, 100, 26000);
        case 150:
            return GridAndLimit(t, 50, 100, 32000);
        case 16:
        case 18:
            return GridAndLimit(t, 100, 100, 4800);
        case 53:
            return GridAndLimit(t, 100, 100, 16000);
        default:
            return GridAndLimit(t, 50, 50, 26000);
    }
}

}  // namespace cursorial
