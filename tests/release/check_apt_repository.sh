#!/usr/bin/env bash
# shellcheck disable=SC2034 # the checks are eval'd strings, which read them
# The release's apt repository as a user meets it: served over HTTP from this
# machine to a Debian 12 and a Debian 13 root (made by mmdebstrap, kept in
# ROOTS with the packages velmora depends on already downloaded, and copied
# afresh for each run), where apt takes it only with the right Signed-By,
# installs velmora from it, upgrades it from a later release, and refuses a
# changed Packages file, a changed package and a repository signed by
# another key. The later release is this one's packages repacked as a
# higher version, made into a repository and signed by the release's own
# code (scripts/signing.sh).
#   check_apt_repository.sh WORK DIST KEYS ROOTS
# DIST: a release signed by KEYS/signing.asc (tests/release/make_test_keys.sh).
set -euo pipefail
work=$1 dist=$(readlink -f "$2") keys=$(readlink -f "$3") roots=$4
source "$(dirname "$0")/../../scripts/common.sh"
source "$VELMORA_ROOT/scripts/debian-root.sh"
source "$VELMORA_ROOT/scripts/signing.sh"
started=$SECONDS
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }
rm -rf "$work"
mkdir -p "$work/site" "$roots"
work=$(cd "$work" && pwd) roots=$(cd "$roots" && pwd)
site=$work/site
version=$(dpkg-deb -f "$dist"/velmora_*_amd64.deb Version)
later=$version.1

# The other architecture's index names its package, by its checksum.
arm64_entry=$(cat "$dist/apt/dists/stable/main/binary-arm64/Packages")
check "the arm64 index holds the arm64 package, by its checksum" \
    'grep -qx "Filename: pool/main/v/velmora/velmora_${version}_arm64.deb" <<<"$arm64_entry" &&
     grep -qx "SHA256: $(sha256sum <"$dist/velmora_${version}_arm64.deb" | cut -d" " -f1)" <<<"$arm64_entry"'

# The repositories the roots are shown, one folder each.
cp -a "$dist/apt" "$site/good"
cp -a "$dist/apt" "$site/changed-packages"
index=$site/changed-packages/dists/stable/main/binary-amd64/Packages
sed -i 's/^Priority: optional$/Priority: important/' "$index"
gzip -9n <"$index" >"$index.gz"
cp -a "$dist/apt" "$site/changed-deb"
package=$(ls "$site"/changed-deb/pool/main/v/velmora/*_amd64.deb)
# One bit of its last member changed.
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(-100, 2); b = f.read(1)[0]; f.seek(-1, 1); f.write(bytes([b ^ 1]))' "$package"
cp -a "$dist/apt" "$site/other-key"
# The second release: the same files, repacked as a higher version, one day later.
for arch in amd64 arm64; do
    rm -rf "$work/repack"
    dpkg-deb -R "$dist/velmora_${version}_$arch.deb" "$work/repack"
    sed -i "s/^Version: .*/Version: $later/" "$work/repack/DEBIAN/control"
    dpkg-deb --root-owner-group -Zxz -b "$work/repack" "$work/velmora_${later}_$arch.deb" >/dev/null
done
(
    export VELMORA_SIGNING_KEY=$keys/signing.asc VELMORA_SIGNING_PASSPHRASE_FILE=$keys/signing.pass
    export SOURCE_DATE_EPOCH=$(($(date -u -d "$(sed -n 's/^Date: //p' "$dist/apt/dists/stable/Release")" +%s) + 86400))
    apt_repository "$site/later" "$work"/velmora_"$later"_*.deb
    trap openpgp_cleanup EXIT
    openpgp_setup "$work/signing.log" >/dev/null
    openpgp_sign_repository "$site/later" "$work/signing.log"
    # Signed by a stranger, in both ways apt reads.
    export VELMORA_SIGNING_KEY=$keys/other.asc VELMORA_SIGNING_PASSPHRASE_FILE=
    openpgp_cleanup
    openpgp_setup "$work/signing.log" >/dev/null
    openpgp_sign_repository "$site/other-key" "$work/signing.log"
)

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$work/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
port=
for _ in $(seq 100); do
    port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\) .*/\1/p' "$work/server.log")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "FAILED: the web server did not start:"; cat "$work/server.log"; exit 1; }

# Each root is made once with velmora's dependencies downloaded, and used
# in a copy, so that every run starts from a machine that never saw velmora.
# It is made again for other dependencies, or after a week, when the
# archive may have moved on from the versions it downloaded.
depends=$(dpkg-deb -f "$dist/velmora_${version}_amd64.deb" Depends)
for suite in bookworm trixie; do
    pristine=$roots/$suite
    if [ "$(cat "$pristine/ready" 2>/dev/null)" != "$depends" ] ||
       [ -n "$(find "$pristine/ready" -mtime +6)" ]; then
        rm -rf "$pristine"
        make_debian_root "$pristine" "$suite"
        cp "$dist/velmora_${version}_amd64.deb" "$pristine/root/root/"
        in_debian_root "$pristine/root" bash -euc '
            apt-get -qq update
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --download-only "/root/$1" >/dev/null
            rm "/root/$1"' prefetch "velmora_${version}_amd64.deb"
        echo "$depends" >"$pristine/ready"
    fi
    root=$work/$suite/root
    mkdir -p "$work/$suite"
    cp -a "$pristine/root" "$root"
    mkdir -p "$root/etc/apt/keyrings"
    cp "$keys/signing.pub" "$root/etc/apt/keyrings/velmora.asc"
    cp "$keys/other.pub" "$root/etc/apt/keyrings/stranger.asc"
    cp "$(dirname "$0")/apt_inside.sh" "$root/root/"
    echo "-- Debian $(cat "$root/etc/debian_version"), the repository at http://127.0.0.1:$port/ ($((SECONDS - started)) s)"
    in_debian_root "$root" bash /root/apt_inside.sh "http://127.0.0.1:$port" "$version" "$later" || fail=1
    if grep -F " $(readlink -f "$root")/" /proc/self/mountinfo; then
        echo "FAILED: the run in the Debian $suite root left mounts behind"
        fail=1
    fi
    rm -rf "${work:?}/$suite"
done
echo "apt repository: $((SECONDS - started)) s"
exit $fail
