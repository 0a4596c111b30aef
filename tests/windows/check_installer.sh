#!/usr/bin/env bash
# Installs the Windows package silently under Wine, as an administrator
# would: into another folder, then upgraded over that, then upgraded into
# the default folder; checks the program, its Start menu shortcut and its entry
# in Add or Remove Programs; starts the installed program and closes it;
# uninstalls it silently and checks that all of it went, files and keys.
# Given the certificate authority of a signed release, the installed program
# and uninstaller must carry signatures that it verifies:
#   check_installer.sh INSTALLER BUILT_EXE [CA_FILE]
# shellcheck disable=SC2034 # the checks eval code that reads these
set -euo pipefail
installer=$1
built=$2
ca=${3:-}
run=@CMAKE_CROSSCOMPILING_EMULATOR@
eval "$("$run" --print-env)"

program_files='C:\Program Files\Velmora'
instdir=$WINEPREFIX/drive_c/Program\ Files/Velmora
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Velmora
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
vendor_key='HKLM\Software\Kestrane'
other='C:\Program Files\Some Folder'
otherdir=$WINEPREFIX/drive_c/Program\ Files/Some\ Folder
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }
# The entries in Add or Remove Programs that are Velmora's.
entries() {
    "$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | grep -Ec 'DisplayName[[:space:]]+REG_SZ[[:space:]]+Velmora$' || true
}

# What a run that failed half-way may have left.
"$run" reg delete "$key" /f >/dev/null 2>&1 || true
"$run" reg delete "$vendor_key" /f >/dev/null 2>&1 || true
rm -rf "$instdir" "$otherdir" "$menu"

# /D= takes the rest of the command line as it is, unquoted, as cmd passes it.
install_into() { "$run" cmd /c "$(winepath -w "$installer" | tr -d '\r') /S /D=$1"; }

# An upgrade stays in the folder chosen before, and one moved elsewhere
# leaves nothing in the old one.
check "installed silently into another folder" 'install_into "$other" && [ -f "$otherdir/Velmora.exe" ]'
check "an upgrade goes into that folder" \
    '"$run" "$installer" /S && [ -f "$otherdir/Velmora.exe" ] && [ ! -e "$instdir" ]'
check "and leaves one entry, with that folder's uninstaller" \
    '[ "$(entries)" = 1 ] && "$run" reg query "$key" /v UninstallString | grep -Fq "$other\\Uninstall.exe"'
check "the installer ran silently" 'install_into "$program_files"'
check "an upgrade into another folder removes the earlier one" '[ ! -e "$otherdir" ] && [ "$(entries)" = 1 ]'
check "installed into $program_files" '[ -d "$instdir" ]'
check "the installed Velmora.exe is the one built" 'cmp -s "$instdir/Velmora.exe" "$built"'
check "an uninstaller beside it" '[ -f "$instdir/Uninstall.exe" ]'
check "and the licences" 'grep -q "MIT License" "$instdir/LICENSES.txt"'
if [ -n "$ca" ]; then
    for program in Velmora.exe Uninstall.exe; do
        check "the installed $program is signed, as osslsigncode verifies" \
            'osslsigncode verify -CAfile "$ca" -in "$instdir/$program" >/dev/null 2>&1'
    done
fi

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
check "and its registry keys, the vendor's included" '! "$run" reg query "$vendor_key" >/dev/null 2>&1'
exit $fail
