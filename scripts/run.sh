#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from the build folder.
# Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
if [ -x build/bin/cursorial ]; then
    exec build/bin/cursorial "$@"
fi
# A build without the desktop program (-DCURSORIAL_BUILD_GUI=OFF) has only the command-line tool.
exec build/bin/cursorialctl "${@:-devices}"
