#!/usr/bin/env bash
# Ctrl-C, SIGTERM or a closed terminal (SIGHUP) during "quenley-cli send": the rest of the queue
# is dropped, the port is closed properly (All Notes Off last), the exit code is 130, and the
# last words say how many messages went out, as many as the port received.
set -euo pipefail
cli=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
export XDG_DATA_HOME=$work/data

. "$(dirname "$0")/long-project.sh"
long_project "$work/long.json" "$work/long.qly"
port=$("$cli" ports | tail -n 1 | cut -d: -f1)
out=$work/data/Quenley/Quenley/sysex-out.syx

stop_with() {
    local signal=$1 number=$2
    rm -f "$out"
    "$cli" send "$work/long.qly" --port "$port" 2>"$work/err" &
    local pid=$!
    # Stop it once the first block is through.
    for _ in $(seq 1 100); do
        [ -f "$out" ] && [ "$(stat -c %s "$out")" -gt 3 ] && break
        sleep 0.05
    done
    kill -"$signal" "$pid"
    local rc=0
    wait "$pid" || rc=$?
    cat "$work/err"
    [ "$rc" -eq 130 ] || { echo "SIG$signal: exit code $rc, expected 130"; exit 1; }
    local size blocks
    size=$(stat -c %s "$out")
    # 3 + 30 x 14 + 3 bytes had every block gone out.
    [ "$size" -lt 426 ] || { echo "SIG$signal: everything was sent ($size bytes)"; exit 1; }
    [ "$(tail -c 3 "$out" | od -An -tx1 | tr -d ' \n')" = "b07b00" ] ||
        { echo "SIG$signal: the port was not closed properly"; exit 1; }
    blocks=$(((size - 6) / 14))
    grep -q "stopped by signal $number (SIG$signal) after $blocks of 30 messages" "$work/err" ||
        { echo "SIG$signal: no word of the stop with $blocks of 30"; exit 1; }
    [ "$(grep -o 'sent [0-9]*/30' "$work/err" | tail -n 1)" = "sent $blocks/30" ] ||
        { echo "SIG$signal: the last progress line is stale"; exit 1; }
    echo "SIG$signal: stopped after $blocks blocks"
}

stop_with INT 2
stop_with HUP 1
stop_with TERM 15
