#!/usr/bin/env bash
# Makes the downloads of the checked-out commit twice, from two clones in two
# folders, under other time zones, locales and umasks, minutes apart, the
# second with the Node.js that a fresh Debian 12 installs in place of the
# machine's own, and checks that they are the same bytes and carry no build
# folder; then checks
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

# This Debian release's own Node.js (18 on Debian 12), whatever this machine
# runs: fetched from Debian's archive and unpacked into a folder, for the
# page's build steps and for emscripten's, so that nothing of the build's
# Node.js enters the page. What it links, and the modules Debian keeps
# apart from it, are installed as it asks for them.
source "$repository/scripts/common.sh"
debian_node=$work/debian-node
mkdir -p "$debian_node/bin"
node_version=$(apt-cache madison nodejs | awk -F'|' '{ gsub(/ /, "", $2); print $2 }' |
    grep -m1 "deb$VELMORA_DEBIAN" || true)
libnode=$(apt-cache depends "nodejs=$node_version" 2>/dev/null | sed -n 's/^ *Depends: \(libnode[0-9]*\)$/\1/p')
install_missing $(apt-cache depends --important "nodejs=$node_version" "$libnode=$node_version" 2>/dev/null |
    sed -n 's/^ *|\{0,1\}Depends: \([a-z0-9][^ ]*\)$/\1/p' | grep -v -x -e nodejs -e "$libnode" | sort -u)
(cd "$debian_node" && apt-get download -q "nodejs=$node_version" "$libnode=$node_version" 2>/dev/null &&
    for package in ./*.deb; do dpkg-deb -x "$package" root; done)
cat >"$debian_node/bin/node" <<NODE
#!/bin/sh
LD_LIBRARY_PATH=$debian_node/root/usr/lib/x86_64-linux-gnu exec $debian_node/root/usr/bin/node "\$@"
NODE
chmod +x "$debian_node/bin/node"
check "Debian $VELMORA_DEBIAN's Node.js ${node_version%%+*} runs from its folder" \
    '[ -n "$node_version" ] && "$debian_node/bin/node" -e "process.stdout.write(process.version)" |
     grep -qx "v${node_version%%+*}"'

# An earlier dist/ is replaced whole.
mkdir -p "$work/b/dist" && touch "$work/b/dist/velmora_0.9_amd64.deb"
(cd "$work/b" && export PATH="$debian_node/bin:$PATH" EM_NODE_JS="$debian_node/bin/node" &&
    TZ=America/Adak LANG=fr_FR.UTF-8 && umask 077 && scripts/release)
check "an earlier dist/ is replaced whole" '[ ! -e "$work/b/dist/velmora_0.9_amd64.deb" ]'
check "the second page was built with Debian's own Node.js" \
    'grep -q "^CMAKE_CROSSCOMPILING_EMULATOR:.*=$debian_node/bin/node$" "$work/b/build-release/web/CMakeCache.txt"'

check "the two releases are the same bytes, the page's built with either Node.js" \
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
