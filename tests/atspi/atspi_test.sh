#!/usr/bin/env bash
# Runs Velmora as a screen reader meets it: on a private X server, session bus
# and accessibility bus, read and driven over AT-SPI by screen_reader_client.py.
# atspi_test.sh VELMORA CLIENT. Everything started here is ended here, by pid.
set -uo pipefail
velmora=$1
client=$2

scratch=$(mktemp -d)
pids=()
# The processes started here and all they started, children first.
tree() {
    local pid child
    for pid in "$@"; do
        for child in $(ps -o pid= --ppid "$pid" 2>/dev/null); do
            tree "$child"
        done
        echo "$pid"
    done
}
cleanup() {
    local all
    mapfile -t all < <(tree "${pids[@]}")
    [ ${#all[@]} -gt 0 ] && kill "${all[@]}" 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "${all[@]}" 2>/dev/null || break
        sleep 0.1
    done
    [ ${#all[@]} -gt 0 ] && kill -KILL "${all[@]}" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# A display number the server picks itself, free whatever else runs.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start"; cat "$scratch/xvfb.log"; exit 1; }
DISPLAY=:$(head -n1 "$scratch/display")
export DISPLAY

export XDG_RUNTIME_DIR=$scratch
unset WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS
dbus-daemon --session --fork --print-address=4 --print-pid=5 4>"$scratch/bus" 5>"$scratch/bus.pid" ||
    { echo "no session bus"; exit 1; }
pids+=("$(cat "$scratch/bus.pid")")
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$scratch/bus")
export DBUS_SESSION_BUS_ADDRESS

/usr/libexec/at-spi-bus-launcher --launch-immediately 2>"$scratch/atspi.log" &
pids+=($!)
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

# In the sanitizer build: libxkbcommon-x11 hands Qt's X11 start-up a keymap
# name that is not NUL-terminated, which strict string checks stop at.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0 \
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    "$velmora" >"$scratch/velmora.log" 2>&1 &
pids+=($!)

timeout 120 /usr/bin/python3 "$client"
status=$?
[ $status -eq 0 ] || { echo "velmora said:"; cat "$scratch/velmora.log"; }
exit $status
