#!/usr/bin/env bash
# shellcheck disable=SC2034 # the checks are eval'd strings, which read them
# Makes the downloads of the checked-out commit twice, from two clones in two
# folders, under other time zones, locales and umasks, minutes apart, the
# second with the Node.js that this Debian release itself installs in place
# of the machine's own, and once more from the unpacked source archive, and
# checks that they are the same bytes and carry no build folder; that a
# stopped release, a tree with changes, a failed build and versions that
# disagree leave no dist/; then checks the Debian packages, amd64 and the
# cross-built arm64, and the source package, as Debian does (lintian), that
# the page's decimal table is what its CLDR extract makes, the amd64 package
# with its autopkgtest, and as a user meets it: installed with apt, started,
# removed without a trace (the arm64 one is, under emulation, in
# tests/arm64/stage.sh).
# The first is signed, by throwaway keys made in WORK_DIR/keys: its
# signatures must verify and catch a changed byte, and but for them and the
# signed Windows files it must be the same bytes as the unsigned others.
#   check_release.sh WORK_DIR
# Leaves WORK_DIR/a with its dist/ and build-release/ for the Windows tests,
# and WORK_DIR/keys for those and the apt repository's.
set -euo pipefail
work=$1
repository=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

if [ -n "$(git -C "$repository" status --porcelain)" ]; then
    echo "note: the release is checked on the last commit, without the uncommitted changes"
fi
for clone in a b; do
    git clone --quiet --no-hardlinks "$repository" "$work/$clone"
done
keys=$work/keys
"$repository/tests/release/make_test_keys.sh" "$keys"
# No timestamp server is reachable here: the port is closed.
(cd "$work/a" && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 && umask 002 &&
    export VELMORA_SIGNING_KEY=$keys/signing.asc VELMORA_SIGNING_PASSPHRASE_FILE=$keys/signing.pass \
        VELMORA_CODESIGN_CERT=$keys/codesign.pem VELMORA_CODESIGN_KEY=$keys/codesign.key \
        VELMORA_CODESIGN_PASSPHRASE_FILE=$keys/codesign.pass VELMORA_TIMESTAMP_URL=http://127.0.0.1:9/ &&
    scripts/release) 2>&1 | tee "$work/a.log"

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
# shellcheck disable=SC2046 # a package a word
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
    TZ=America/Adak LANG=fr_FR.UTF-8 && umask 077 && scripts/release) 2>&1 | tee "$work/b.log"
check "an earlier dist/ is replaced whole" '[ ! -e "$work/b/dist/velmora_0.9_amd64.deb" ]'
check "a release without keys says that nothing is signed, and signs nothing" \
    'grep -q "^NOT SIGNED:" "$work/b.log" && grep -q "SHA256SUMS, the source archive and the apt repository" "$work/b.log" &&
     grep -q "the Windows installer, its uninstaller and Velmora.exe" "$work/b.log" &&
     [ -z "$(find "$work/b/dist" -name "*.asc" -o -name "*.gpg" -o -name InRelease)" ]'
check "the second page was built with Debian's own Node.js" \
    'grep -q "^CMAKE_CROSSCOMPILING_EMULATOR:.*=$debian_node/bin/node$" "$work/b/build-release/web/CMakeCache.txt"'

# The signed Windows files aside, which the unsigned from-source run compares.
unsigned_sums() { grep -v -e '-win32\.exe$' -e '-win32-portable\.zip$' "$1/SHA256SUMS"; }
# Run from the test command, which caches test builds' objects: the
# releases must compile theirs, or agreeing would prove nothing.
check "no release build takes objects from a compiler cache" \
    '[ -f "$work/a/build-release/windows/CMakeCache.txt" ] &&
     ! grep -qs "^CMAKE_[A-Z]*_COMPILER_LAUNCHER:.*ccache" "$work"/[ab]/build-release/*/CMakeCache.txt \
         "$work"/[ab]/build-release/deb-*/*/obj-*/CMakeCache.txt'
check "the two releases are the same bytes, the page's built with either Node.js" \
    'diff <(unsigned_sums "$work/a/dist") <(unsigned_sums "$work/b/dist")'
# The apt repository, but for its signatures.
apt_sums() { (cd "$1/apt" && find . -type f ! -name InRelease ! -name Release.gpg | LC_ALL=C sort | xargs sha256sum); }
check "and so are their apt repositories, but for the signatures" \
    'diff <(apt_sums "$work/a/dist") <(apt_sums "$work/b/dist")'
check "every download matches SHA256SUMS" '(cd "$work/a/dist" && sha256sum --quiet -c SHA256SUMS)'

# The signatures, as the README checks them: gpgv, and sqv; a changed byte
# fails both.
signed=$work/signed
mkdir -p "$signed"
gpg --dearmor <"$keys/signing.pub" >"$signed/signing.gpg"
# flip_byte FILE OFFSET: one bit of that byte changed.
flip_byte() {
    python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(int(sys.argv[2])); b = f.read(1)[0]; f.seek(-1, 1); f.write(bytes([b ^ 1]))' "$@"
}
verifies() {
    gpgv --keyring "$signed/signing.gpg" "$1.asc" "$2" 2>/dev/null &&
        sqv --keyring "$keys/signing.pub" "$1.asc" "$2" >/dev/null 2>&1
}
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$repository/CMakeLists.txt")
for file in SHA256SUMS "velmora-$version.tar.gz"; do
    cp "$work/a/dist/$file" "$signed/$file"
    check "$file.asc verifies with gpgv and sqv" 'verifies "$work/a/dist/$file" "$signed/$file"'
    flip_byte "$signed/$file" $(($(stat -c %s "$signed/$file") / 2))
    check "and fails for $file with one byte changed" '! gpgv --keyring "$signed/signing.gpg" "$work/a/dist/$file.asc" "$signed/$file" 2>/dev/null &&
         ! sqv --keyring "$keys/signing.pub" "$work/a/dist/$file.asc" "$signed/$file" >/dev/null 2>&1'
done
check "InRelease and Release.gpg sign the repository's Release" \
    'release=$work/a/dist/apt/dists/stable/Release &&
     gpgv --keyring "$signed/signing.gpg" --output - "$release.gpg" "$release" 2>/dev/null >/dev/null &&
     gpgv --keyring "$signed/signing.gpg" --output - "${release%/*}/InRelease" 2>/dev/null | cmp -s - "$release"'
# The Windows files, signed by the throwaway certificate authority's
# publisher (the uninstaller is checked installed, under Wine).
python3 -m zipfile -e "$work/a/dist/Velmora-$version-win32-portable.zip" "$signed/portable"
for program in "$work/a/dist/Velmora-$version-win32.exe" "$signed/portable/Velmora.exe"; do
    check "${program##*/} carries a signature that osslsigncode verifies" \
        'osslsigncode verify -CAfile "$keys/ca.pem" -in "$program" >"$signed/verify.log" 2>&1'
done
cp "$signed/portable/Velmora.exe" "$signed/changed.exe"
flip_byte "$signed/changed.exe" 4096
check "and fails for Velmora.exe with one byte changed" \
    '! osslsigncode verify -CAfile "$keys/ca.pem" -in "$signed/changed.exe" >"$signed/verify.log" 2>&1'
check "Velmora.exe is the unsigned release's, but for its signature" \
    'python3 -m zipfile -e "$work/b/dist/Velmora-$version-win32-portable.zip" "$signed/unsigned" &&
     osslsigncode remove-signature -in "$signed/portable/Velmora.exe" -out "$signed/removed.exe" >/dev/null &&
     cmp "$signed/removed.exe" "$signed/unsigned/Velmora.exe"'
# Nothing secret in what was shipped or logged: no passphrase, no line of a
# secret key.
secrets=$signed/secrets
{ cat "$keys/signing.pass" "$keys/codesign.pass"
  grep -hv -e '^-----' -e '^$' "$keys/signing.asc" "$keys/codesign.key" | grep -E '.{40}'; } >"$secrets"
check "no key or passphrase in the downloads or the release's log" \
    '! grep -rqaF -f "$secrets" "$work/a/dist" "$work/a.log" "$work/a/build-release/logs"'

# A distribution builds from the source archive, where there is no git.
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$repository/CMakeLists.txt")
source=$work/source/velmora-$version
mkdir -p "$work/source" && tar -xzf "$work/a/dist/velmora-$version.tar.gz" -C "$work/source"
(cd "$source" && TZ=Asia/Kathmandu && umask 027 && scripts/release) >"$work/from-source.log" 2>&1 || true
check "from the unpacked source archive: the same downloads, but the source archive" \
    'grep -v "\.tar\.gz\$" "$work/b/dist/SHA256SUMS" | diff - "$source/dist/SHA256SUMS" &&
     diff <(apt_sums "$work/b/dist") <(apt_sums "$source/dist")'
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
arm64_deb=$dist/velmora_${version}_arm64.deb

# No folder of either build appears in anything shipped, unpacked or not.
unpacked=$work/unpacked
mkdir -p "$unpacked"
dpkg-deb -x "$deb" "$unpacked/deb"
dpkg-deb -x "$arm64_deb" "$unpacked/deb-arm64"
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

# The source package, as dpkg-source makes it from the source archive.
mkdir -p "$work/dsc" && tar -xzf "$dist/velmora-$version.tar.gz" -C "$work/dsc"
(cd "$work/dsc/velmora-$version" && dpkg-source -b .) >"$work/dsc.log" 2>&1
dsc=$work/dsc/velmora_$version.dsc
echo "lintian:"
check "lintian finds no error or warning, in the source package or either binary one" \
    'lintian --fail-on error,warning --display-info --pedantic "$dsc" "$deb" "$arm64_deb"'
# The page's decimal table is what its script makes of the CLDR extract
# beside it, with either Node.js.
for node in node "$debian_node/bin/node"; do
    check "the decimal table is remade from app/web/cldr/ unchanged, by $node" \
        '"$node" "$work/dsc/velmora-$version/app/web/decimal_separators.mjs" "$work/table.js" >/dev/null &&
         cmp "$work/table.js" "$work/dsc/velmora-$version/app/web/decimal_separators.js"'
done
# debian/tests, run by Debian's autopkgtest on a fresh Debian root.
check "the package's autopkgtest passes" \
    '"$repository/tests/release/run_autopkgtest.sh" "$work/autopkgtest" "$work/dsc/velmora-$version" "$deb" \
        >"$work/autopkgtest.log" 2>&1 || { tail -n 40 "$work/autopkgtest.log"; false; }'
for arch in amd64 arm64; do
    package=$dist/velmora_${version}_$arch.deb
    check "the $arch package depends on the Qt libraries and the font" \
        'depends=$(dpkg-deb -f "$package" Depends) && [[ $depends == *libqt6widgets6* && $depends == *fonts-liberation* ]] &&
         [ "$(dpkg-deb -f "$package" Recommends)" = qt6-wayland ]'
done
# The arm64 package: the same files, the program built for 64-bit ARM, the
# rest the same bytes.
check "the arm64 package is for arm64, with a 64-bit ARM program" \
    '[ "$(dpkg-deb -f "$arm64_deb" Architecture)" = arm64 ] &&
     file -b "$unpacked/deb-arm64/usr/bin/velmora" | grep -q "ELF 64-bit LSB.*ARM aarch64"'
check "and but for the program, the same files as the amd64 package, byte for byte" \
    '[ "$(cd "$unpacked" && diff -rq deb deb-arm64)" = "Files deb/usr/bin/velmora and deb-arm64/usr/bin/velmora differ" ] &&
     diff <(dpkg-deb -c "$deb" | awk "{ print \$1, \$6 }") <(dpkg-deb -c "$arm64_deb" | awk "{ print \$1, \$6 }")'

# Installed and removed as a user would, with apt.
check "the package installs, starts and is removed without a trace" \
    '"$repository/tests/package/install_and_remove.sh" "$deb" "$work/installed"'

exit $fail
