#!/usr/bin/env bash
# Installs the build into a scratch folder as the Debian package does (its
# rules run the same install) and checks that a desktop finds everything where
# it looks: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

DESTDIR=$scratch/root cmake --install "$build" --prefix /usr >/dev/null
root=$scratch/root

fail=0
expect() { if [ -e "$root/$1" ]; then echo "ok: /$1"; else echo "MISSING: /$1"; fail=1; fi; }

expect usr/bin/velmora
[ -x "$root/usr/bin/velmora" ] || { echo "usr/bin/velmora is not executable"; fail=1; }
expect usr/share/applications/com.kestrane.Velmora.desktop
expect usr/share/metainfo/com.kestrane.Velmora.metainfo.xml
expect usr/share/man/man1/velmora.1
for size in 16 24 32 48 64 128 256; do
    expect "usr/share/icons/hicolor/${size}x${size}/apps/com.kestrane.Velmora.png"
done

# The entry's icon name must find the installed icons.
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/com.kestrane.Velmora.desktop")
[ "$icon" = com.kestrane.Velmora ] || { echo "desktop entry names icon '$icon'"; fail=1; }

# X11 desktops match a window to its entry by WM_CLASS, which Qt takes from the
# program's file name when, as here, the program sets no application name.
entry=$root/usr/share/applications/com.kestrane.Velmora.desktop
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
if ! [ -x "$root/usr/bin/$program" ] || [ "$wm_class" != "$program" ]; then
    echo "desktop entry runs '$program' but waits for WM_CLASS '$wm_class'"
    fail=1
fi

desktop-file-validate "$root/usr/share/applications/com.kestrane.Velmora.desktop" || fail=1
appstreamcli validate --no-net "$root/usr/share/metainfo/com.kestrane.Velmora.metainfo.xml" || fail=1

exit $fail
