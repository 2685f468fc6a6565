#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DCURSORIAL_WERROR=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

# The tests of the two pieces shared between threads (the store and the device link) once more
# under ThreadSanitizer, in a build of their own (only those targets; no window parts).
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURSORIAL_WERROR=ON \
    -DCURSORIAL_SANITIZE=thread -DCURSORIAL_BUILD_BENCH=OFF -DCURSORIAL_BUILD_GUI=OFF
cmake --build build-tsan --target test_store_concurrency test_device_link --parallel "$(nproc)"
ctest --test-dir build-tsan -L tsan --output-on-failure
