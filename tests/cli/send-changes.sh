#!/usr/bin/env bash
# send --changes sends what the module lacks as the shared record knows it: everything at first,
# nothing once it was sent, one message for one changed value, and everything again when the
# record is damaged (which it names).
set -euo pipefail
cli=$1
data=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
export XDG_DATA_HOME=$work/data
port=$("$cli" ports | tail -n 1 | cut -d: -f1)
out=$work/data/Quenley/Quenley/sysex-out.syx
# The System Exclusive messages of a file, without the All Notes Off each open and close sends.
hex() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/ b[0-9a-f] 7b 00//g' | tr -d ' '; }
fail() { echo "$1"; cat "$work/err"; exit 1; }

"$cli" from-json "$data/project.json" "$work/project.qly"
"$cli" syx "$work/project.qly" "$work/all.syx"
all=$(hex "$work/all.syx")x

"$cli" send "$work/project.qly" --port "$port" --channel 1 --changes 2>"$work/err" ||
    fail "the first send failed"
[ "$(hex "$out")x" = "$all" ] || fail "a fresh record did not send everything"

rm -f "$out"
"$cli" send "$work/project.qly" --port "$port" --changes 2>"$work/err" || fail "second send failed"
grep -q "nothing to send" "$work/err" || fail "no word that nothing was to send"
[ ! -e "$out" ] || fail "the port was written with nothing to send"

# One value of the LFO set changed: the third, from 3 to 130.
"$cli" to-json "$work/project.qly" >"$work/project.json"
sed -i '12s/^\( *\)3,$/\1130,/' "$work/project.json"
grep -q '^ *130,$' "$work/project.json" || fail "the JSON is not as this test expects"
"$cli" from-json "$work/project.json" "$work/changed.qly"
"$cli" send "$work/changed.qly" --port "$port" --changes 2>"$work/err" || fail "third send failed"
# LFO set 1 starts at 0x3900 + 7 = 0x3907: value 2 at 0x3909 = 72 09.
[ "$(hex "$out")" = "f0313e560072090102f7" ] || fail "not exactly the changed value: $(hex "$out")"

# Another channel has a record of its own.
"$cli" send "$work/changed.qly" --port "$port" --channel 2 --changes 2>"$work/err" ||
    fail "the send on channel 2 failed"
[ "$(hex "$out" | wc -c)" -eq "$(hex "$work/all.syx" | wc -c)" ] || fail "channel 2 knew something"

for record in "$work"/data/Quenley/Quenley/module/*-ch01.record; do
    printf 'damaged' >"$record"
done
"$cli" send "$work/changed.qly" --port "$port" --changes 2>"$work/err" || fail "fourth send failed"
grep -q "is ignored" "$work/err" || fail "the damaged record was not named"
[ "$(hex "$out" | wc -c)" -eq "$(hex "$work/all.syx" | wc -c)" ] || fail "not everything was sent"
echo "ok"
