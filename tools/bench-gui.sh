#!/usr/bin/env bash
# Runs the user interface benchmark on an Xvfb display of its own (offscreen without Xvfb):
# start-up next to a bare QMainWindow program, opening a kit window, the event loop's longest
# stall while the largest project is sent to the "SysEx file" output, and while recovery copies
# are written during a burst of edits on it, and while the Project Overview opens, filters and
# follows changes, and resident memory.
# Usage: tools/bench-gui.sh [BUILD_DIR] [ROUNDS] [SEND_WINDOW_MS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" --parallel 2 --target quenley-guibench
bench=$build/tools/guibench/quenley-guibench

if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: measuring on the offscreen platform"
    QT_QPA_PLATFORM=offscreen "$bench" "${2:-20}" "${3:-5000}"
    exit
fi
state=$(mktemp -d)
# Xvfb picks a free display and writes its number to the file given as descriptor 3.
Xvfb -displayfd 3 -noreset -screen 0 1280x900x24 -nolisten tcp 3>"$state/display" 2>"$state/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$state"' EXIT
for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
[ -s "$state/display" ] || { cat "$state/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$state/display") QT_QPA_PLATFORM=xcb "$bench" "${2:-20}" "${3:-5000}"
