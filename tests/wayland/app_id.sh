#!/usr/bin/env bash
# Starts the program on the Wayland display and checks the app_id it gives its
# window: the compositor finds the desktop entry, and so the program's name and
# icon, by that id. app_id.sh PROGRAM DESKTOP_ENTRY
set -uo pipefail
program=$1
expected="set_app_id(\"$(basename "$2" .desktop)\")"

trace=$(mktemp)
WAYLAND_DEBUG=1 "$program" 2>"$trace" &
pid=$!
for _ in $(seq 100); do
    grep -q 'set_app_id(' "$trace" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
sent=$(grep -o 'set_app_id("[^"]*")' "$trace" | head -n 1)
rm -f "$trace"

echo "sent: ${sent:-nothing}"
[ "$sent" = "$expected" ] || { echo "expected: $expected"; exit 1; }
