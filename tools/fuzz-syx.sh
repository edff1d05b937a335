#!/usr/bin/env bash
# Builds the .syx reader's fuzz target with clang, ASan and UBSan, and runs it.
# Usage: tools/fuzz-syx.sh [SECONDS] [extra libFuzzer arguments...]
exec "$(dirname "$0")/fuzz-run.sh" syx "$@"
