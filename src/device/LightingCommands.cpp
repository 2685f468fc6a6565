#include "device/LightingCommands.h"

namespace cursorial {
namespace {

void PutColour(CommandReport& r, std::size_t at, int colour) {
    r[at] = Low8(colour);
    r[at + 1] = Low8(colour >> 8);
    r[at + 2] = Low8(colour >> 16);
}

}  // namespace

// 0x05  | 4: length | 5: mode | 6: (brightness << 4) | speed | 7..: per mode |
//
//   mode      length  further bytes
//   0, 4, 5   2       -
//   1         3       7: 0
//   2         24      7: 7 (colours); 8+3j, 9+3j, 10+3j: R, G, B of colour j = 0..6
//   3         5       7, 8, 9: R, G, B of colour 1
//   other     0       - (bytes 5 and 6 stay 0 as well)
Command BuildLightingCommand(const LightingValues& l) {
    static_assert(std::size_t{8 + 3 * kLightingColourCount} <= kChecksumByte,
                  "mode 2's colours fit the payload");
    Command c{MakeWriteReport(command::kLighting, 0), SendLength::kLong};
    CommandReport& r = c.report;
    switch (l.mode) {
        case 0:
        case 4:
        case 5:
            r[kLengthByte] = 2;
            break;
        case 1:
            r[kLengthByte] = 3;
            r[7] = 0;
            break;
        case 2:
            r[kLengthByte] = 24;
            r[7] = kLightingColourCount;
            for (int j = 0; j < kLightingColourCount; ++j) {
                PutColour(r, 8 + 3 * static_cast<std::size_t>(j), l.colours[j]);
            }
            break;
        case 3:
            r[kLengthByte] = 5;
            PutColour(r, 7, l.colours[0]);
            break;
        default:
            return c;  // length 0, no payload
    }
    r[5] = Low8(l.mode);
    r[6] = Low8((l.brightness << 4) | l.speed);
    return c;
}

// 0x0E  | 4: 0x01 | 5: 0x01 |
Command BuildLightingResetCommand() {
    Command c{MakeWriteReport(command::kLightingReset, 0x01), SendLength::kShort};
    c.report[5] = 0x01;
    return c;
}

// 0x0E  | 4: 0x04 | 5: 0x42 |
Command BuildLightingFactoryResetCommand() {
    Command c{MakeWriteReport(command::kLightingReset, 0x04), SendLength::kShort};
    c.report[5] = 0x42;
    return c;
}

}  // namespace cursorial
