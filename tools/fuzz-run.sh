#!/usr/bin/env bash
# Builds one fuzz target with clang, ASan and UBSan, and runs it.
# Usage: tools/fuzz-run.sh loader|syx [SECONDS] [extra libFuzzer arguments...]
# New inputs collect in build-fuzz/corpus[-syx] (the seeds in tools/fuzz/ stay as they are);
# crashes are written to build-fuzz/findings/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${QUENLEY_FUZZ_BUILD_DIR:-$root/build-fuzz}
case ${1:-} in
loader) target=quenley-fuzz-loader corpus=corpus dict=loader.dict ;;
syx) target=quenley-fuzz-syx corpus=corpus-syx dict=syx.dict ;;
*) echo "usage: $0 loader|syx [SECONDS] [libFuzzer arguments...]" >&2; exit 2 ;;
esac
shift
seconds=${1:-60}
shift || true

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link"
flags+=" -fno-omit-frame-pointer"
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUENLEY_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS="$flags" >/dev/null
fi
cmake --build "$build" --parallel 2 --target "$target"

mkdir -p "$build/$corpus" "$build/findings"
# Leaks are checked too; Qt's own one-time allocations stay reachable and are not reported.
"$build/tools/fuzz/$target" "$build/$corpus" "$here/fuzz/$corpus" \
    -dict="$here/fuzz/$dict" -max_len=4096 -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=4096 -artifact_prefix="$build/findings/" -print_final_stats=1 "$@"
