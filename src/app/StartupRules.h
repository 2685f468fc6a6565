// The decisions start-up makes before any window exists, as plain functions of their inputs.
#pragma once

#include <string>
#include <string_view>

namespace cursorial {

// The command line after the program name as one text: the arguments joined by single spaces.
std::string CommandLineAfterProgram(int argc, const char* const* argv);

// True when the text holds "-hide" anywhere, also inside a longer word; letter case counts.
// Nothing else on the command line is looked at (" -autorun" starts like no arguments).
bool HasHideSwitch(std::string_view command_line);

// The display scale of an effective DPI: 96 or less → 100; 120 → 125; 144, 168 and 192 stand
// for themselves; any other value → 100.
int DisplayScale(int effective_dpi);

// Whether the process declares itself DPI-aware on a primary screen of this size: below 1400
// pixels wide or 800 high always; an exactly 1920 × 1080 screen when its scale is above 125.
bool ShouldBeDpiAware(int screen_width, int screen_height, int effective_dpi);

}  // namespace cursorial
