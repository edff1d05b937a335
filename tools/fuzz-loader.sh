#!/usr/bin/env bash
# Builds the project loader's fuzz target with clang, ASan and UBSan, and runs it.
# Usage: tools/fuzz-loader.sh [SECONDS] [extra libFuzzer arguments...]
exec "$(dirname "$0")/fuzz-run.sh" loader "$@"
