#!/usr/bin/env bash
# Installs a Velmora package with apt as a user would, checks its files, starts
# it, and purges it with all it brought in, leaving nothing behind. Touches
# nothing of the machine's own: refuses where velmora is installed already.
#   install_and_remove.sh PACKAGE.deb WORK_DIR
# shellcheck disable=SC2034 # the checks eval code that reads these
set -euo pipefail
deb=$(readlink -f "$1")
work=$2
mkdir -p "$work"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q 'ok installed'; then
    echo "FAILED: velmora is installed on this machine already; not touching it"
    exit 1
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
packages() { dpkg-query -W -f='${Package}:${Architecture} ${Status}\n' | grep ' installed$' | sort; }
packages >"$work/packages-before"
check "apt installs the package" \
    '"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null'
# Its files, without the folders it shares with others.
dpkg -L velmora 2>/dev/null | while read -r path; do [ -d "$path" ] || echo "$path"; done >"$work/files"
for file in /usr/bin/velmora /usr/share/applications/com.kestrane.Velmora.desktop \
            /usr/share/metainfo/com.kestrane.Velmora.metainfo.xml \
            /usr/share/icons/hicolor/256x256/apps/com.kestrane.Velmora.png \
            /usr/share/man/man1/velmora.1.gz /usr/share/doc/velmora/copyright \
            /usr/share/doc/velmora/changelog.gz; do
    check "installed: $file" '[ -f "$file" ]'
done
check "man finds its manual page" 'man -w velmora >/dev/null'
# It starts: its window system plugin is loaded (within half a minute, as
# under an emulator), and it is still running two seconds later.
QT_QPA_PLATFORM=offscreen /usr/bin/velmora &
program=$!
for _ in $(seq 60); do
    grep -q '/libqoffscreen\.so$' "/proc/$program/maps" 2>/dev/null && break
    sleep 0.5
done
sleep 2
check "the installed program starts its window and keeps running" \
    'grep -q "/libqoffscreen\.so$" "/proc/$program/maps" && kill -0 "$program" 2>/dev/null'
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq velmora >/dev/null
# What apt brought in for it goes too.
brought=$(packages | comm -13 "$work/packages-before" - | cut -d' ' -f1)
# shellcheck disable=SC2086 # one word a package
[ -z "$brought" ] || "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $brought >/dev/null
check "removed, with all it brought in" 'packages | cmp -s - "$work/packages-before"'
check "none of its files is left" \
    '[ -s "$work/files" ] && ! xargs -d "\n" ls -d 2>/dev/null <"$work/files" | grep . &&
     [ ! -e /usr/share/doc/velmora ]'
exit $fail
