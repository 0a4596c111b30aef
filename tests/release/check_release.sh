#!/usr/bin/env bash
# Makes the downloads of the checked-out commit twice, from two clones in two
# folders, under other time zones, locales and umasks, minutes apart, and
# checks that they are the same bytes and carry no build folder; then checks
# the Debian package as Debian does (lintian) and as a user meets it:
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

dist=$work/a/dist
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$repository/CMakeLists.txt")
deb=$dist/velmora_${version}_amd64.deb

# No folder of either build appears in anything shipped, unpacked or not.
unpacked=$work/unpacked
mkdir -p "$unpacked"
dpkg-deb -x "$deb" "$unpacked/deb"
(cd "$unpacked" && python3 -m zipfile -e "$dist/Velmora-$version-win32-portable.zip" windows &&
    python3 -m zipfile -e "$dist/velmora-$version-web.zip" web)
# Windows programs are dated in their headers: by the commit, like the rest.
pe_date() { /usr/bin/python3 -c 'import pefile, sys; print(pefile.PE(sys.argv[1], fast_load=True).FILE_HEADER.TimeDateStamp)' "$1"; }
commit_date=$(git -C "$work/a" log -1 --format=%ct)
check "the installer and Velmora.exe are dated by the commit" \
    '[ "$(pe_date "$dist/Velmora-$version-win32.exe")" = "$commit_date" ] &&
     [ "$(pe_date "$unpacked/windows/Velmora.exe")" = "$commit_date" ]'
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

# Installed and removed as a user would, with apt.
check "the package installs, starts and is removed without a trace" \
    '"$repository/tests/package/install_and_remove.sh" "$deb" "$work/installed"'

exit $fail
