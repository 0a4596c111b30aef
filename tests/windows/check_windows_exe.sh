#!/usr/bin/env bash
# Checks Velmora.exe as Windows sees it: a 32-bit GUI program that needs only
# Windows' own DLLs, carrying its version resource, under 1 MiB:
# check_windows_exe.sh EXE
set -euo pipefail
exe=$1
fail=0
dump=$("@CMAKE_OBJDUMP@" -p "$exe")

grep -q 'file format pei-i386' <<<"$dump" || { echo "not a 32-bit Windows program"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]+\(Windows GUI\)' <<<"$dump" ||
    { echo "not a GUI program: $(grep '^Subsystem' <<<"$dump")"; fail=1; }

# Every Windows since 7 has these; a MinGW runtime DLL would have to be shipped.
system='kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|oleacc|uxtheme|advapi32|version|msimg32|imm32|dwmapi|winmm|msvcrt'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
[ -n "$imports" ] || { echo "no imports found"; fail=1; }
for dll in $imports; do
    if grep -Eqix "($system)\.dll" <<<"$dll"; then
        echo "ok: imports $dll"
    else
        echo "NOT A SYSTEM DLL: $dll"
        fail=1
    fi
done

texts=$(strings -el "$exe")
for expected in CompanyName Kestrane ProductName Velmora OriginalFilename Velmora.exe \
                FileVersion ProductVersion "@VELMORA_FILE_VERSION@" 040904B0; do
    grep -qx -- "$expected" <<<"$texts" ||
        { echo "MISSING in the version resource: $expected"; fail=1; }
done

size=$(stat -c %s "$exe")
echo "size: $size bytes"
[ "$size" -lt 1048576 ] || { echo "larger than 1 MiB"; fail=1; }
exit $fail
