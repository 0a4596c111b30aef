#!/usr/bin/env bash
# Compiles the Windows version resource with the MinGW resource compiler and
# checks the strings a Windows file dialog shows: check_windows_resource.sh RC_FILE
set -euo pipefail
rc=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The host's C preprocessor stands in for MinGW's, which only a cross compiler brings.
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED \
    --input-format=rc --output-format=res -i "$rc" -o "$scratch/velmora.res"
strings -el "$scratch/velmora.res" > "$scratch/strings"

fail=0
for expected in CompanyName Kestrane ProductName Velmora InternalName OriginalFilename \
                Velmora.exe FileVersion ProductVersion "@VELMORA_FILE_VERSION@" 040904B0; do
    if grep -qx -- "$expected" "$scratch/strings"; then
        echo "ok: $expected"
    else
        echo "MISSING: $expected"
        fail=1
    fi
done
# The eleven icon images went in, and the version numbers as FILEVERSION.
dump=$(x86_64-w64-mingw32-windres --input-format=res --output-format=rc -i "$scratch/velmora.res")
icons=$(grep -c "RT_ICON" <<<"$dump" || true)
[ "$icons" -eq 11 ] || { echo "icon images: $icons, not 11"; fail=1; }
grep -q "FILEVERSION @PROJECT_VERSION_MAJOR@, @PROJECT_VERSION_MINOR@, 0, @PROJECT_VERSION_PATCH@" <<<"$dump" ||
    { echo "MISSING: FILEVERSION"; fail=1; }
exit $fail
