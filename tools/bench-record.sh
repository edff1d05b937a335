#!/usr/bin/env bash
# Runs the benchmark of Send changes against Send project on the largest project.
# Usage: tools/bench-record.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" --parallel 2 --target quenley-recordbench
"$build/tools/recordbench/quenley-recordbench"
