#!/usr/bin/env bash
# Builds the MIDI, model and command-line tests with clang's ThreadSanitizer and runs them.
# Usage: tools/tsan.sh [ctest arguments...]   (default: every midi.*, model.* and cli.* test)
# The build goes to build-tsan/ (QUENLEY_TSAN_BUILD_DIR to change it). Qt and RtMidi are not
# instrumented; what they synchronise out of the sanitizer's sight is listed, with the reason,
# in tools/tsan.supp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${QUENLEY_TSAN_BUILD_DIR:-$root/build-tsan}

flags="-fsanitize=thread -fno-omit-frame-pointer"
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
fi
cmake --build "$build" --parallel 2 --target tst_midi tst_model quenley-cli

# Every report fails its test (exit code 66); all reports of a run are shown, not just the first.
# Qt and RtMidi are not instrumented, and Qt synchronises through futexes the sanitizer cannot
# see: what their code does through the intercepted calls (locks, allocation) is not judged.
export TSAN_OPTIONS="suppressions=$here/tsan.supp ignore_noninstrumented_modules=1 second_deadlock_stack=1 history_size=4 ${TSAN_OPTIONS:-}"
# The sanitizer reserves terabytes of address space: tests that limit it skip that check.
export QUENLEY_SANITIZER=thread
export QT_QPA_PLATFORM=offscreen
cd "$build"
if [ $# -eq 0 ]; then
    set -- -R '^(midi|model|cli)\.'
fi
exec ctest --output-on-failure --timeout 600 "$@"
