#!/usr/bin/env bash
# Runs the MIDI latency benchmark against a JACK server with the dummy driver of its own.
# Usage: tools/bench-midi.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
state=$(mktemp -d)
trap '"$here/../tests/e2e/jack-server.sh" stop quenley-bench "$state"; rm -rf "$state"' EXIT
"$here/../tests/e2e/jack-server.sh" start quenley-bench "$state"
JACK_DEFAULT_SERVER=quenley-bench QUENLEY_MIDI_API=jack "$build/tools/midibench/quenley-midibench" "${2:-300}" 2>"$state/bench.err" || { cat "$state/bench.err" >&2; exit 1; }
