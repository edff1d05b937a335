#!/usr/bin/env bash
# The "SysEx file" port has one user at a time, as a real port does: a second send while one is
# running is refused with a message naming the port, and the first one's file stays whole. A
# sender that is killed outright does not keep the port from the next one.
set -euo pipefail
cli=$1
data=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
export XDG_DATA_HOME=$work/data
. "$(dirname "$0")/long-project.sh"
long_project "$work/long.json" "$work/long.qly"
"$cli" syx "$work/long.qly" "$work/long.syx"
port=$("$cli" ports | tail -n 1 | cut -d: -f1)
out=$work/data/Quenley/Quenley/sysex-out.syx
hex() { od -An -tx1 "$1" | tr -d ' \n'; }

wait_for_first_block() {
    for _ in $(seq 1 100); do
        [ -f "$out" ] && [ "$(stat -c %s "$out")" -gt 3 ] && return
        sleep 0.05
    done
    echo "the first send never started"
    exit 1
}

"$cli" send "$work/long.qly" --port "$port" 2>"$work/first.err" &
first=$!
wait_for_first_block
rc=0
"$cli" send "$data/kick.qly" --port "$port" 2>"$work/second.err" || rc=$?
cat "$work/second.err"
[ "$rc" -eq 1 ] || { echo "the second send exited with $rc while the port was taken"; exit 1; }
grep -Eq "port $port \(SysEx file\): the port could not be opened: quenley-cli \(process \
$first\) is writing to .*sysex-out\.syx \(error 4\)" "$work/second.err" ||
    { echo "no word of the busy port and who holds it"; exit 1; }
rc=0
wait "$first" || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/first.err"; echo "the first send failed ($rc)"; exit 1; }
[ "$(hex "$out")" = "b07b00$(hex "$work/long.syx")b07b00" ] ||
    { echo "the first send's file is not what it sent"; exit 1; }

# Killed while holding the port: its lock stays behind, but belongs to nobody.
"$cli" send "$work/long.qly" --port "$port" 2>/dev/null &
victim=$!
wait_for_first_block
kill -KILL "$victim"
wait "$victim" || true
[ -e "$out.lock" ] || echo "(the killed sender left no lock file)"
"$cli" send "$data/kick.qly" --port "$port" 2>"$work/after.err" ||
    { cat "$work/after.err"; echo "the port stayed taken after its holder was killed"; exit 1; }
[ "$(hex "$out")" = "b07b00$(hex "$data/kick.syx")b07b00" ] ||
    { echo "the send after the crash wrote something else"; exit 1; }
[ ! -e "$out.lock" ] || { echo "the lock outlived the send"; exit 1; }
echo "second send refused; port taken over after a crash"
