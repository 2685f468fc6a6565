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
# Until the desktop window lands, the command-line tool is what there is to run.
exec build/bin/cursorialctl "${@:-devices}"
