// Control classes by name: CreateControl("MButton", ...) finds its maker here. Every class of
// the kit is known from the start; a program may add its own classes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace DUI {

class MControl;

using ControlMaker = std::function<MControl*()>;

// Adds or replaces a class. A container class (one whose controls hold controls) may also be
// created with CreateArea.
void RegisterControlClass(std::string_view className, ControlMaker maker, bool container = false);

// A new control of the class, or nullptr for an unknown name. `container` tells its kind.
MControl* MakeControl(std::string_view className, bool* container = nullptr);

// Names of all known classes, sorted.
std::vector<std::string> ControlClassNames();

}  // namespace DUI
