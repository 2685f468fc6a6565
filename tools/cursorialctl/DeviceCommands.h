// cursorialctl commands that talk to the mouse: devices, info, read, send.
#pragma once

#include <span>

#include "Cli.h"

namespace cursorial::cli {

std::span<const CommandSpec> DeviceCommands();

}  // namespace cursorial::cli
