#!/usr/bin/env bash
# Runs a Windows program under Wine, in a prefix of Velmora's own:
#   wine-run.sh PROGRAM [ARGS...]   runs it; its exit status is returned
#   wine-run.sh --start             starts the session (and makes the prefix, once)
#   wine-run.sh --stop              waits for the prefix's programs, then ends the session
#   wine-run.sh --print-env         starts the session, prints its WINEPREFIX and DISPLAY
# CMAKE_CROSSCOMPILING_EMULATOR names it, so CTest runs the tests through it.
#
# The prefix and the session's files live in wine/ of the build folder (the
# nearest folder above PROGRAM, or else above the working folder, that holds
# CMakeCache.txt), or in $VELMORA_WINE_STATE. A session is a wineserver kept
# alive between programs, for quick starts, and, when DISPLAY is unset, a
# private Xvfb for their windows; both end by themselves after
# $VELMORA_WINE_LINGER seconds (60) without a program.
set -euo pipefail

find_build_folder() {
    local dir=$1
    while [ -n "$dir" ] && [ "$dir" != / ]; do
        [ -f "$dir/CMakeCache.txt" ] && { echo "$dir"; return 0; }
        dir=$(dirname "$dir")
    done
    return 1
}

state=${VELMORA_WINE_STATE:-}
if [ -z "$state" ]; then
    build=""
    if [ -f "${1:-}" ]; then
        build=$(find_build_folder "$(cd "$(dirname "$1")" && pwd)") || true
    fi
    [ -n "$build" ] || build=$(find_build_folder "$PWD") || {
        echo "wine-run.sh: no build folder above ${1:-$PWD}; set VELMORA_WINE_STATE" >&2
        exit 2
    }
    state=$build/wine
fi
mkdir -p "$state"
state=$(cd "$state" && pwd)

export WINEPREFIX=$state/prefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install dialogs, and no menu entries in the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
linger=${VELMORA_WINE_LINGER:-60}
own_display=false
[ -z "${DISPLAY:-}" ] && own_display=true

# One caller at a time sets things up; the lock is not passed on to what
# starts here, so it ends with this script.
exec 9>>"$state/lock"
flock -w 600 9

is_our_xvfb() {
    local pid
    pid=$(cat "$state/xvfb.pid" 2>/dev/null) || return 1
    [ -n "$pid" ] && grep -qa Xvfb "/proc/$pid/cmdline" 2>/dev/null
}

start_xvfb() {
    rm -f "$state/display"
    # -displayfd picks a free display number and tells it once ready.
    setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 \
        3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 9>&- &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 200); do
        [ -s "$state/display" ] && return 0
        kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || break
        sleep 0.05
    done
    echo "wine-run.sh: Xvfb did not start:" >&2
    cat "$state/xvfb.log" >&2
    exit 2
}

stop_session() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 9>&- 2>/dev/null || true
        wineserver -w 9>&- 2>/dev/null || true
    fi
    if is_our_xvfb; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

ensure_display() {
    if $own_display; then
        if ! is_our_xvfb || [ ! -s "$state/display" ]; then
            # Programs still running were drawing on a display that is gone.
            [ -d "$WINEPREFIX" ] && { wineserver -k 9>&- 2>/dev/null || true; wineserver -w 9>&- 2>/dev/null || true; }
            start_xvfb
        fi
        DISPLAY=:$(cat "$state/display")
        export DISPLAY
    fi
}

ensure_prefix() {
    [ -f "$WINEPREFIX/.velmora-ready" ] && return 0
    echo "wine-run.sh: creating the Wine prefix $WINEPREFIX (once; takes a while)" >&2
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 9>&- 2>/dev/null || true
        wineserver -w 9>&- 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
    if ! wineboot -i >"$state/prefix.log" 2>&1 9>&-; then
        cat "$state/prefix.log" >&2
        exit 2
    fi
    wineserver -w 9>&-
    # The user's folders link into the real home; make them plain folders so
    # that nothing run here writes outside the prefix.
    local link
    find "$WINEPREFIX/drive_c/users" -type l -print0 | while IFS= read -r -d '' link; do
        rm "$link" && mkdir "$link"
    done
    # Wine's own Tahoma and MS Sans Serif, the dialog fonts, where Debian's
    # fonts-wine puts them and Wine does not look.
    if [ -d /usr/share/wine/fonts ]; then
        ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    # With no window manager Wine would wait for one at every window's end.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
    touch "$WINEPREFIX/.velmora-ready"
}

# Whatever outlives this script gets none of its output streams: CTest waits
# for them to close.
ensure_server() {
    # Exit status 2: a server is running already, with its watchdog.
    local status=0
    wineserver -p"$linger" </dev/null >>"$state/wineserver.log" 2>&1 9>&- || status=$?
    if [ $status -eq 2 ]; then
        return 0
    elif [ $status -ne 0 ]; then
        echo "wine-run.sh: wineserver failed ($status); see $state/wineserver.log" >&2
        exit 2
    fi
    if $own_display; then
        # The X server goes when the wineserver does.
        setsid bash -c 'wineserver -w; grep -qa Xvfb "/proc/$1/cmdline" 2>/dev/null && kill "$1"' _ \
            "$(cat "$state/xvfb.pid")" </dev/null >/dev/null 2>&1 9>&- &
    fi
    # Wine's own services start now, detached from any caller's streams; and
    # the wineserver counts its lingering time from a program's end only.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
}

# Waits until only Wine's own services are left in the prefix.
wait_for_programs() {
    local deadline=$((SECONDS + ${1:-60})) pid busy
    while [ $SECONDS -lt $deadline ]; do
        busy=false
        for pid in $(pgrep -u "$(id -u)" -f '\.exe' || true); do
            tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
            case $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") in
                *system32\\services.exe*|*system32\\explorer.exe*|*system32\\winedevice.exe*|\
                *system32\\plugplay.exe*|*system32\\svchost.exe*|*system32\\rpcss.exe*|\
                *system32\\conhost.exe*|"") ;;
                *) busy=true ;;
            esac
        done
        $busy || return 0
        sleep 0.5
    done
}

case ${1:-} in
    --stop)
        wait_for_programs 60
        stop_session
        exit 0 ;;
    --start|--print-env)
        ensure_display
        ensure_prefix
        ensure_server
        if [ "$1" = --print-env ]; then
            printf 'export WINEPREFIX=%q WINEARCH=win32 WINEDEBUG=%q WINEDLLOVERRIDES=%q DISPLAY=%q\n' \
                "$WINEPREFIX" "$WINEDEBUG" "$WINEDLLOVERRIDES" "$DISPLAY"
        fi
        exit 0 ;;
    "")
        echo "usage: wine-run.sh PROGRAM [ARGS...] | --start | --stop | --print-env" >&2
        exit 2 ;;
esac

ensure_display
ensure_prefix
ensure_server
exec 9>&-
exec wine "$@"
