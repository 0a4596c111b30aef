#!/usr/bin/env bash
# Runs a command as the Wayland client of a private, headless weston and
# passes on its exit status: run_on_weston.sh SCRATCH_DIR COMMAND [ARGS...]
set -uo pipefail
scratch=$(cd "$1" && pwd)  # Wayland takes only an absolute runtime folder
shift

# mktemp -d makes the folder private (0700), as a runtime folder must be.
runtime=$(mktemp -d "$scratch/weston.XXXXXX")
log=$runtime/weston.log
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=wl \
    --no-config --idle-time=0 --log="$log" &
weston_pid=$!
stop_weston() {
    kill "$weston_pid" 2>/dev/null
    wait "$weston_pid" 2>/dev/null
    rm -rf "$runtime"
}
trap stop_weston EXIT

for _ in $(seq 100); do
    [ -S "$runtime/wl" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$runtime/wl" ]; then
    echo "weston did not start:"
    cat "$log"
    exit 1
fi

# Sanitizer builds: what Qt's Wayland client never frees is not ours to fix;
# the slow unwinder reaches its frames through libraries without frame pointers.
LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp:fast_unwind_on_malloc=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS

# Qt's own title bar, as on a desktop whose compositor draws none.
env -u DISPLAY -u QT_WAYLAND_DISABLE_WINDOWDECORATION -u QT_WAYLAND_DECORATION \
    -u QT_WAYLAND_SHELL_INTEGRATION \
    XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wl QT_QPA_PLATFORM=wayland "$@"
status=$?
if [ $status -ne 0 ]; then
    echo "== weston's log"
    cat "$log"
fi
exit $status
