#!/usr/bin/env bash
# Ctrl-C during "quenley-cli send": the rest of the queue is dropped, the port is closed
# properly (All Notes Off last) and the exit code is 130.
set -euo pipefail
cli=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
export XDG_DATA_HOME=$work/data

# Thirty blocks take about six seconds: each waits out the module's pause.
{
    echo '{"sections": ['
    for i in $(seq 0 29); do
        [ "$i" -gt 0 ] && echo ','
        echo "{\"class\": \"CLoTo\", \"kind\": 4, \"number\": $i, \"active\": false,"
        echo " \"name\": \"\", \"params\": [1, 2, 3]}"
    done
    echo '], "windows": []}'
} >"$work/long.json"
"$cli" from-json "$work/long.json" "$work/long.qly"
port=$("$cli" ports | tail -n 1 | cut -d: -f1)

"$cli" send "$work/long.qly" --port "$port" 2>"$work/err" &
pid=$!
out=$work/data/Quenley/Quenley/sysex-out.syx
# Stop it once the first block is through.
for _ in $(seq 1 100); do
    [ -f "$out" ] && [ "$(stat -c %s "$out")" -gt 3 ] && break
    sleep 0.05
done
kill -INT "$pid"
rc=0
wait "$pid" || rc=$?
cat "$work/err"
[ "$rc" -eq 130 ] || { echo "exit code $rc, expected 130"; exit 1; }
grep -q "stopped by signal" "$work/err" || { echo "no word of the stop"; exit 1; }
size=$(stat -c %s "$out")
# 3 + 30 x 14 + 3 bytes had every block gone out.
[ "$size" -lt 426 ] || { echo "everything was sent ($size bytes)"; exit 1; }
[ "$(tail -c 3 "$out" | od -An -tx1 | tr -d ' \n')" = "b07b00" ] ||
    { echo "the port was not closed properly"; exit 1; }
echo "stopped after $size bytes"
