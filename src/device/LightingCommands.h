// Lighting commands: the lighting mode with its parameters (0x05) and the two lighting resets
// (0x0E). The read-back (0x15) is decoded with the other reads in InfoDecoders.h.
#pragma once

#include <array>

#include "device/CommandReport.h"

namespace cursorial {

inline constexpr int kLightingColourCount = 7;
// The mode the mouse is put in after a factory reset when it reports another one.
inline constexpr int kLightingFactoryMode = 4;

// One lighting record of the current profile.
struct LightingValues {
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    std::array<int, kLightingColourCount> colours{};  // red + 256 x green + 65536 x blue
};

// 0x05: the mode and its parameters. Sent long.
Command BuildLightingCommand(const LightingValues& lighting);

// 0x0E with 01 01: the lighting reset of the lighting page. Sent short; the answer is ignored.
Command BuildLightingResetCommand();

// 0x0E with 04 42: the lighting part of a factory reset. Sent short; the answer is ignored.
Command BuildLightingFactoryResetCommand();

}  // namespace cursorial
