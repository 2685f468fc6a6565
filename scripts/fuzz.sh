#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in a build folder of their own) and runs each for SECONDS
# seconds from its seed corpus, one after the other. What the fuzzer finds lands in
# <build>/findings/<target>/; new inputs grow <build>/corpus/<target>/, never the seed folders.
#
#   scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 60, scripts/fuzz.sh 300 fuzz_xml
#
# Ends with 1 when any target found something. CURSORIAL_FUZZ_BUILD names the build folder
# (default build-fuzz).
set -euo pipefail
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
cd "$(dirname "$0")/.."
root=$PWD
build=${CURSORIAL_FUZZ_BUILD:-build-fuzz}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for src in tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$src" .cpp)")
    done
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURSORIAL_WERROR=ON \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCURSORIAL_BUILD_FUZZ=ON \
    -DCURSORIAL_BUILD_GUI=OFF -DCURSORIAL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" --parallel "$(nproc)"

# A huge allocation is a finding (libFuzzer's malloc limit), not a way to end the run quietly.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export CURSORIAL_HID_FORBID_REAL=1

summary=()
found=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    findings="$build/findings/$t"
    log="$build/findings/$t.log"
    mkdir -p "$corpus" "$findings"
    echo "== $t: $seconds s"
    set +e
    "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$root/tests/fuzz/corpus/$t" \
        >"$log" 2>&1
    rc=$?
    set -e
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    artifacts=$(find "$findings" -type f | wc -l)
    if [ "$rc" -ne 0 ] || [ "$artifacts" -ne 0 ]; then
        found=1
    fi
    summary+=("$(printf '%-22s %12s execs  exit %-3s %s finding(s)' "$t" "${execs:-?}" "$rc" "$artifacts")")
    if [ "$rc" -ne 0 ]; then
        grep -m 3 -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" || tail -n 5 "$log"
    fi
done

echo
printf '%s\n' "${summary[@]}"
exit "$found"
