#!/usr/bin/env bash
# Runs the model benchmark: save and load of the largest project against bare file I/O, the
# variation store's search and one enqueue on the transmit queue.
# Usage: tools/bench-model.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" --parallel 2 --target quenley-modelbench
"$build/tools/modelbench/quenley-modelbench" "${2:-50}"
