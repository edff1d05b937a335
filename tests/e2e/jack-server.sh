#!/usr/bin/env bash
# Starts or stops the JACK server (dummy driver) that the end-to-end MIDI tests send through.
# Usage: jack-server.sh start|stop NAME STATEDIR
# A missing jackd is not an error here: the tests then report themselves skipped.
set -u
action=$1 name=$2 dir=$3
pidfile="$dir/jackd-$name.pid"
mkdir -p "$dir"
case "$action" in
start)
    if ! command -v jackd >/dev/null; then
        echo "jackd is not installed; the end-to-end MIDI tests will be skipped"
        exit 0
    fi
    if jack_wait -s "$name" -c 2>/dev/null | grep -qx running; then
        echo "JACK server $name already running"
        exit 0
    fi
    jackd -n "$name" --no-realtime -d dummy -r 48000 -p 256 >"$dir/jackd-$name.log" 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 1 100); do
        if jack_wait -s "$name" -c 2>/dev/null | grep -qx running; then
            echo "JACK server $name running"
            exit 0
        fi
        sleep 0.1
    done
    echo "JACK server $name did not start; the end-to-end MIDI tests will be skipped"
    cat "$dir/jackd-$name.log"
    exit 0
    ;;
stop)
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null
        for _ in $(seq 1 50); do
            kill -0 "$(cat "$pidfile")" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$(cat "$pidfile")" 2>/dev/null
        rm -f "$pidfile"
    fi
    exit 0
    ;;
esac
echo "usage: $0 start|stop NAME STATEDIR" >&2
exit 2
