#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DCURSORIAL_WERROR=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
