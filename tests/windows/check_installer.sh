#!/usr/bin/env bash
# Installs the Windows package silently under Wine, as an administrator
# would; checks the program, its Start menu shortcut and its entry in Add or
# Remove Programs; starts the installed program and closes it; uninstalls it
# silently and checks that all of it went: check_installer.sh INSTALLER BUILT_EXE
set -euo pipefail
installer=$1
built=$2
run=@CMAKE_CROSSCOMPILING_EMULATOR@
eval "$("$run" --print-env)"

program_files='C:\Program Files\Velmora'
instdir=$WINEPREFIX/drive_c/Program\ Files/Velmora
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Velmora
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

# What a run that failed half-way may have left.
"$run" reg delete "$key" /f >/dev/null 2>&1 || true
rm -rf "$instdir" "$menu"

check "the installer ran silently" '"$run" "$installer" /S'
check "installed into $program_files" '[ -d "$instdir" ]'
check "the installed Velmora.exe is the one built" 'cmp -s "$instdir/Velmora.exe" "$built"'
check "an uninstaller beside it" '[ -f "$instdir/Uninstall.exe" ]'
check "and the licences" 'grep -q "MIT License" "$instdir/LICENSES.txt"'

# Where the shortcut points, read from the .lnk file's link information.
target=$(python3 - "$menu/Velmora.lnk" <<'PY' || true
import struct, sys
data = open(sys.argv[1], "rb").read()
flags, = struct.unpack_from("<I", data, 20)
at = 76
if flags & 1:  # an item ID list comes first
    at += 2 + struct.unpack_from("<H", data, at)[0]
if not flags & 2:
    sys.exit("no link information")
info_flags, = struct.unpack_from("<I", data, at + 8)
base_at, = struct.unpack_from("<I", data, at + 16)
suffix_at, = struct.unpack_from("<I", data, at + 24)
if not info_flags & 1:
    sys.exit("no local path")
text = lambda offset: data[at + offset:data.index(b"\0", at + offset)].decode("latin-1")
print(text(base_at) + text(suffix_at))
PY
)
echo "Start menu shortcut: $target"
check "a Start menu shortcut to the installed program" '[ "${target,,}" = "${program_files,,}\\velmora.exe" ]'

entry=$("$run" reg query "$key" 2>/dev/null | tr -d '\r' || true)
check "listed in Add or Remove Programs as Velmora" 'grep -Eq "DisplayName[[:space:]]+REG_SZ[[:space:]]+Velmora$" <<<"$entry"'
check "with its uninstaller" 'grep -Fq "$program_files\\Uninstall.exe" <<<"$entry"'

# The installed program starts, shows its window and ends when it is closed.
"$run" "$instdir/Velmora.exe" &
pid=$!
check "its window appears" 'timeout 30 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null'
"$run" taskkill /im Velmora.exe >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAILED: it did not end when closed"
    fail=1
    "$run" taskkill /f /im Velmora.exe >/dev/null 2>&1 || true
fi
status=0
wait "$pid" || status=$?
check "it ended with status 0 when closed" '[ $status -eq 0 ]'

# The uninstaller copies itself away and returns at once: wait for its work.
"$run" "$instdir/Uninstall.exe" /S
for _ in $(seq 600); do [ -e "$instdir" ] || [ -e "$menu" ] || break; sleep 0.1; done
check "uninstalling removed $program_files" '[ ! -e "$instdir" ]'
check "and the Start menu folder" '[ ! -e "$menu" ]'
check "and the Add or Remove Programs entry" '! "$run" reg query "$key" >/dev/null 2>&1'
exit $fail
