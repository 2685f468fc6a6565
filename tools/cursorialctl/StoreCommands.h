// cursorialctl commands on the configuration store and the exchange files: profile, get, set,
// buttons, macro, lighting, defaults, and apply (which writes a stored profile to the mouse).
#pragma once

#include <span>

#include "Cli.h"

namespace cursorial::cli {

std::span<const CommandSpec> StoreCommands();

}  // namespace cursorial::cli
