#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test; then the
# sanitizer runs, each in a build folder of its own (ccache shares the work between them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DCURSORIAL_WERROR=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

# The tests of the pieces shared between threads (the store, the device link and the controller's
# worker) once more under ThreadSanitizer, in a build of their own (only those targets; no window
# parts).
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURSORIAL_WERROR=ON \
    -DCURSORIAL_SANITIZE=thread -DCURSORIAL_BUILD_BENCH=OFF -DCURSORIAL_BUILD_GUI=OFF
cmake --build build-tsan --target test_store_concurrency test_device_link test_controller \
    --parallel "$(nproc)"
ctest --test-dir build-tsan -L tsan --output-on-failure

# The whole suite, window tests included, under AddressSanitizer and UndefinedBehaviorSanitizer
# (clang; no benchmarks). Any sanitizer report fails its test; so does a leak, except the
# third-party ones listed in scripts/sanitizer-suppressions.txt.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURSORIAL_WERROR=ON \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCURSORIAL_SANITIZE=address,undefined -DCURSORIAL_BUILD_BENCH=OFF
cmake --build build-asan --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/sanitizer-suppressions.txt:print_suppressions=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
