// Handing things to the desktop: web addresses go to the user's browser (xdg-open through
// QDesktopServices), and the pointer settings open in the desktop's own settings tool.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cursorial {

// Opens an address with the desktop's handler. An empty or unusable address is left to the
// handler, which fails quietly; false when nothing was opened.
bool OpenAddress(std::u16string_view address);

// A command that opens the pointer (mouse) settings of one desktop.
struct SettingsCommand {
    const char* desktop;  // as XDG_CURRENT_DESKTOP names it
    const char* program;
    std::vector<const char*> arguments;
};

// The known settings tools, most specific first.
const std::vector<SettingsCommand>& MouseSettingsCommands();

// The tool of the running desktop when it is installed, else the first installed one, else
// nullptr. `currentDesktop` is XDG_CURRENT_DESKTOP: names separated by ':', any letter case.
const SettingsCommand* ChooseMouseSettingsCommand(
    std::string_view currentDesktop, const std::function<bool(const char* program)>& exists);

// Starts the desktop's pointer settings when a known tool is installed, detached from us; does
// nothing otherwise. True when one was started.
bool OpenMouseSettings();

}  // namespace cursorial
