#!/usr/bin/env bash
# The editor read and operated through the real accessibility bus, as a screen reader would:
# its own X server, a private D-Bus session with the AT-SPI bus, settings that choose "SysEx
# file" and open it at start, and a project with a kick window, two snares and a kit using kick 7
# and snare 2, and an active kick 3. accessible_bus.py does the rest.
#
#   accessible-bus.sh QUENLEY QUENLEY_CLI accessible_bus.py
#
# Exits 77 (skipped) when a tool it needs is not installed.
set -u
quenley=$1 cli=$2 script=$3
python=/usr/bin/python3
for tool in Xvfb dbus-launch /usr/libexec/at-spi-bus-launcher "$python"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
"$python" -c "import pyatspi" 2>/dev/null || { echo "SKIP: pyatspi is not installed"; exit 77; }

dir=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
mkdir -p "$dir/config/Quenley" "$dir/data" "$dir/runtime"
chmod 700 "$dir/runtime"
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data XDG_RUNTIME_DIR=$dir/runtime
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_STYLE_OVERRIDE

# The last output is "SysEx file", chosen by its number and name and opened at start.
port=$("$cli" ports | tail -n 1)
case $port in *": SysEx file") ;; *) echo "FAIL: last port is '$port'"; exit 1 ;; esac
cat >"$dir/config/Quenley/Quenley.conf" <<EOF
[Settings]
MidiOutputDeviceId=${port%%:*}
MidiOutputDeviceCh=1
MidiOutputDeviceName=SysEx file
ActivateAtStart=true
EOF

decay=40
cat >"$dir/kick.json" <<EOF
{
    "sections": [
        {"active": true, "class": "CKick", "kind": 2, "name": "Boom            ", "number": 3,
         "params": [221, 26, 127, 0, 200, 0, 200, 160, 255]},
        {"active": false, "class": "CKick", "kind": 2, "name": "Thump           ", "number": 7,
         "params": [221, 26, $decay, 0, 200, 0, 200, 160, 255]},
        {"active": false, "class": "CSnar", "kind": 3, "name": "Loose           ", "number": 2,
         "params": [200, 253, 3, 201, 7, 200]},
        {"active": true, "class": "CSnar", "kind": 3, "name": "Tight           ", "number": 5,
         "params": [200, 253, 3, 201, 7, 200]},
        {"active": false, "class": "CKit", "kind": 1, "name": "Rock    ", "number": 3,
         "params": [82, 111, 99, 107, 32, 32, 32, 32, 7, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0]}
    ],
    "windows": [
        {"number": 7, "viewType": 3,
         "placement": {"flags": 0, "length": 44, "showCmd": 1, "min": [-1, -1],
                       "max": [-1, -1], "normal": [10, 10, 400, 330]}}
    ]
}
EOF
"$cli" from-json "$dir/kick.json" "$dir/kick.qly" || { echo "FAIL: no project"; exit 1; }

# Xvfb picks a free display and writes its number once it takes connections. Without -noreset
# it resets when dbus-launch's short X client leaves, and refuses the editor meanwhile.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do grep -q . "$dir/display" 2>/dev/null && break; sleep 0.1; done
display=$(head -n 1 "$dir/display" 2>/dev/null)
[ -n "$display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$display

eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0

"$quenley" "$dir/kick.qly" >"$dir/quenley.log" 2>&1 &
pids+=($!)

"$python" "$script" "$dir/data/Quenley/Quenley/sysex-out.syx" "$decay"
status=$?
[ $status -eq 0 ] || { echo "--- quenley's output:"; cat "$dir/quenley.log"; }
exit $status
