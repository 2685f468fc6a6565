#include "app/StartupRules.h"

namespace cursorial {

std::string CommandLineAfterProgram(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

bool HasHideSwitch(std::string_view command_line) {
    return command_line.find("-hide") != std::string_view::npos;
}

int DisplayScale(int effective_dpi) {
    switch (effective_dpi) {
        case 120:
            return 125;
        case 144:
        case 168:
        case 192:
            return effective_dpi;
        default:
            return 100;  // 96 and below, and every value without a step of its own
    }
}

bool ShouldBeDpiAware(int screen_width, int screen_height, int effective_dpi) {
    if (screen_width < 1400 || screen_height < 800)
        return true;
    return screen_width == 1920 && screen_height == 1080 && DisplayScale(effective_dpi) > 125;
}

}  // namespace cursorial
