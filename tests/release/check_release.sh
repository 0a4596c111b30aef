#!/usr/bin/env bash
# Makes the downloads of the checked-out commit twice, from two clones in two
# folders, under other time zones, locales and umasks, minutes apart, and
# once more from the unpacked source archive, and checks that they are the
# same bytes and carry no build folder; that a stopped release, a tree with
# changes, a failed build and versions that disagree leave no dist/; then
# checks the Debian package as Debian does (lintian) and as a user meets it:
# installed with apt, started, removed without a trace.
#   check_release.sh WORK_DIR
# Leaves WORK_DIR/a with its dist/ and build-release/ for the Windows tests.
set -euo pipefail
work=$1
repository=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

if [ -n "$(git -C "$repository" status --porcelain)" ]; then
    echo "note: the release is checked on the last commit, without the uncommitted changes"
fi
for clone in a b; do
    git clone --quiet --no-hardlinks "$repository" "$work/$clone"
done
(cd "$work/a" && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 && umask 002 && scripts/release)
# An earlier dist/ is replaced whole.
mkdir -p "$work/b/dist" && touch "$work/b/dist/velmora_0.9_amd64.deb"
(cd "$work/b" && TZ=America/Adak LANG=fr_FR.UTF-8 && umask 077 && scripts/release)
check "an earlier dist/ is replaced whole" '[ ! -e "$work/b/dist/velmora_0.9_amd64.deb" ]'

check "the two releases are the same bytes" \
    'diff "$work/a/dist/SHA256SUMS" "$work/b/dist/SHA256SUMS"'
check "every download matches SHA256SUMS" '(cd "$work/a/dist" && sha256sum --quiet -c SHA256SUMS)'

# A distribution builds from the source archive, where there is no git.
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$repository/CMakeLists.txt")
source=$work/source/velmora-$version
mkdir -p "$work/source" && tar -xzf "$work/a/dist/velmora-$version.tar.gz" -C "$work/source"
(cd "$source" && TZ=Asia/Kathmandu && umask 027 && scripts/release) >"$work/from-source.log" 2>&1 || true
check "from the unpacked source archive: the same downloads, but the source archive" \
    'grep -v "\.tar\.gz\$" "$work/a/dist/SHA256SUMS" | diff - "$source/dist/SHA256SUMS"'
check "and no complaint of git's" '! grep -q "fatal:" "$work/from-source.log"'

# Stopped midway, as a time-out or a closed terminal stops it, it stops every
# build and leaves no dist/; its session holds all it started.
(cd "$work/b" && exec setsid scripts/release) >"$work/stopped.log" 2>&1 &
stopped=$!
for _ in $(seq 1200); do
    [ -e "$work/b/build-release/windows/CMakeCache.txt" ] && [ -e "$work/b/build-release/web/CMakeCache.txt" ] && break
    sleep 0.5
done
sleep 5
kill -TERM "$stopped"
status=0
wait "$stopped" || status=$?
check "a release stopped by SIGTERM fails, leaves no dist/ and no process" \
    '[ $status -ne 0 ] && [ ! -e "$work/b/dist" ] && ! pgrep -s "$stopped" >/dev/null'
sleep 5
check "and nothing fills dist/ after it" '[ ! -e "$work/b/dist" ]'

# What must stop a release: uncommitted changes, and a failed build, which
# leaves no checksums vouching for half a set.
echo "# a change" >>"$work/b/README.md"
check "a tree with uncommitted changes is refused" \
    '! (cd "$work/b" && scripts/release) 2>"$work/refused" && grep -q "uncommitted changes" "$work/refused"'
git -C "$work/b" checkout --quiet README.md
echo 'message(FATAL_ERROR "broken on purpose")' >>"$work/b/CMakeLists.txt"
git -C "$work/b" -c user.name=test -c user.email=test@localhost commit --quiet -am "broken"
check "a failed build stops the release and leaves no dist/" \
    '! (cd "$work/b" && scripts/release) >/dev/null 2>&1 && [ ! -e "$work/b/dist" ]'
# A version bumped in CMake alone, on a commit tagged with another.
sed -i 's/^project(Velmora VERSION [0-9.]*/project(Velmora VERSION 9.9.9/' "$work/b/CMakeLists.txt"
git -C "$work/b" -c user.name=test -c user.email=test@localhost commit --quiet -am "bumped alone"
git -C "$work/b" tag v9.9.8
check "versions that disagree are refused, each named" \
    '! (cd "$work/b" && scripts/release) 2>"$work/refused" && [ ! -e "$work/b/dist" ] &&
     grep -q "debian/changelog" "$work/refused" && grep -q "CHANGELOG.md" "$work/refused" &&
     grep -q "tagged v9.9.8" "$work/refused"'

dist=$work/a/dist
deb=$dist/velmora_${version}_amd64.deb

# No folder of either build appears in anything shipped, unpacked or not.
unpacked=$work/unpacked
mkdir -p "$unpacked"
dpkg-deb -x "$deb" "$unpacked/deb"
(cd "$unpacked" && python3 -m zipfile -e "$dist/Velmora-$version-win32-portable.zip" windows &&
    python3 -m zipfile -e "$dist/velmora-$version-web.zip" web)
# Windows programs are dated in their headers: by debian/changelog, like the rest.
pe_date() { /usr/bin/python3 -c 'import pefile, sys; print(pefile.PE(sys.argv[1], fast_load=True).FILE_HEADER.TimeDateStamp)' "$1"; }
release_date=$(cd "$work/a" && dpkg-parsechangelog -S Timestamp)
check "the installer and Velmora.exe are dated by debian/changelog" \
    '[ "$(pe_date "$dist/Velmora-$version-win32.exe")" = "$release_date" ] &&
     [ "$(pe_date "$unpacked/windows/Velmora.exe")" = "$release_date" ]'
# What Windows' Properties show of a program: its version resource's strings.
pe_strings() {
    /usr/bin/python3 - "$1" <<'PY'
import pefile, sys
for info in pefile.PE(sys.argv[1]).FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            for key, value in sorted(table.entries.items()):
                print(key.decode() + "=" + value.decode())
PY
}
installer_strings=$(pe_strings "$dist/Velmora-$version-win32.exe")
check "the installer's Properties name Kestrane, Velmora and its version" \
    'grep -qx CompanyName=Kestrane <<<"$installer_strings" && grep -qx ProductName=Velmora <<<"$installer_strings" &&
     grep -qx "ProductVersion=$version" <<<"$installer_strings"'
check "no build folder in any file shipped" \
    '! grep -rlaF -e "$work/a" -e "$work/b" -e build-release "$unpacked" "$dist"'
check "every download carries the licences" \
    '[ -s "$unpacked/deb/usr/share/doc/velmora/copyright" ] && grep -q "MIT License" "$unpacked/windows/LICENSES.txt" &&
     grep -q "MIT License" "$unpacked/web/LICENSES.txt"'

echo "lintian:"
check "lintian finds no error or warning" \
    'lintian --fail-on error,warning --display-info --pedantic "$deb"'
check "the package depends on the Qt libraries and the font" \
    'depends=$(dpkg-deb -f "$deb" Depends) && [[ $depends == *libqt6widgets6* && $depends == *fonts-liberation* ]] &&
     [ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ]'

# Installed and removed as a user would, with apt, when it touches nothing of
# the machine's own.
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
# It starts, and is still running when it is stopped.
QT_QPA_PLATFORM=offscreen /usr/bin/velmora &
program=$!
sleep 2
check "the installed program starts" 'kill -0 "$program" 2>/dev/null'
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq velmora >/dev/null
# What apt brought in for it goes too.
brought=$(packages | comm -13 "$work/packages-before" - | cut -d' ' -f1)
[ -z "$brought" ] || "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $brought >/dev/null
check "removed, with all it brought in" 'packages | cmp -s - "$work/packages-before"'
check "none of its files is left" \
    '[ -s "$work/files" ] && ! xargs -d "\n" ls -d 2>/dev/null <"$work/files" | grep . &&
     [ ! -e /usr/share/doc/velmora ]'

exit $fail
