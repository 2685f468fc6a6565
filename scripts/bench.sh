#!/usr/bin/env bash
# Builds and runs every benchmark; figures go to stdout. Extra arguments go to each benchmark
# (for example --benchmark_filter=Xml).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DCMAKE_BUILD_TYPE=Release
for b in build/bench/bin/*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" "$@"
done
