#!/usr/bin/env bash
# The portable zip holds the bare program, byte for byte the one built, and
# the licences beside it: check_portable_zip.sh ZIP BUILT_EXE
set -euo pipefail
python3 - "$1" "$2" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    names = z.namelist()
    print("holds:", names)
    if sorted(names) != ["LICENSES.txt", "Velmora.exe"]:
        sys.exit("the zip should hold Velmora.exe and LICENSES.txt alone, at its top")
    if z.read("Velmora.exe") != open(sys.argv[2], "rb").read():
        sys.exit("its Velmora.exe is not the one built")
PY
