#!/usr/bin/env bash
# Velmora on 64-bit ARM, tested on this PC under qemu's user-mode emulator:
# the arm64 build's tests of what could differ on another processor (the
# core's tables, the windows' rules, start and captions), then the released
# arm64 package installed with apt into an arm64 root of this machine's
# Debian release, and into an arm64 Debian 13 root beside, started offscreen
# and purged without a trace. The roots are made by mmdebstrap from the
# machine's own archive, once, and kept in the cache (scripts/debian-root.sh);
# each run sees them through an overlay, so they stay as made.
#   stage.sh DIR DEB
#   stage.sh --roots-only     only makes the roots, or finds them in the cache
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$VELMORA_ROOT/scripts/debian-root.sh"
started=$SECONDS
step() { echo "-- arm64: $1 ($((SECONDS - started)) s)"; }

step "the kernel runs arm64 programs under qemu"
enable_emulation aarch64
"$(ls /usr/lib/aarch64-linux-gnu/ld-linux-aarch64.so.1)" --version | head -n 1

# This machine's release, where the package is built, and Debian 13 beside
# Debian 12, as the one package serves both. Each root has man, to find the
# manual page, and the Qt and the face the package depends on, as a desktop
# with Qt programs has them: unpacked under emulation, they would cost
# minutes each run. (apt brings them into clean roots in the apt stage.)
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
suites=("$codename")
[ "$codename" != bookworm ] || suites+=(trixie)
declare -A roots installs
for suite in "${suites[@]}"; do
    step "an arm64 Debian $suite root"
    face=fonts-liberation-sans-narrow
    [ "$suite" != bookworm ] || face=fonts-liberation
    cached_debian_root "roots[$suite]" "$suite" arm64 man-db libqt6widgets6 qt6-qpa-plugins "$face"
    echo "arm64 Debian $(cat "${roots[$suite]}/etc/debian_version"): ${roots[$suite]}"
done
[ "${1:-}" != --roots-only ] || exit 0

dir=$1
deb=$(readlink -f "$2")

step "the core's and the windows' tests, cross-built, under qemu"
build_velmora "$dir/build" \
    "-DCMAKE_TOOLCHAIN_FILE=$VELMORA_ROOT/cmake/toolchain-aarch64-linux-gnu.cmake" \
    -DVELMORA_BUILD_BENCHMARKS=OFF
QT_QPA_PLATFORM=offscreen run_tests "$dir/build" --parallel "$(nproc)"

# install_in_root SUITE: the package installed with apt into the arm64 root
# of that Debian release, started offscreen and purged; every change stays
# in a fresh overlay.
install_in_root() {
    local suite=$1 root=${roots[$1]} overlay=$dir/debian-$1 status=0
    # Where earlier runs kept a root of their own.
    rm -rf "$overlay"
    mkdir -p "$overlay/data/root/velmora"
    overlay=$(cd "$overlay" && pwd)
    step "the package installs with apt into Debian $suite, starts offscreen and is purged"
    cp "$deb" "$VELMORA_ROOT/tests/package/install_and_remove.sh" "$overlay/data/root/velmora/"
    in_debian_root --upper "$overlay" "$root" bash -euc '
        apt-get -qq update
        rm -rf /root/velmora/installed
        bash /root/velmora/install_and_remove.sh "/root/velmora/$1" /root/velmora/installed
    ' install "${deb##*/}" || status=$?
    if grep -F -e " $overlay/" /proc/self/mountinfo; then
        echo "FAILED: the run in the arm64 Debian $suite root left mounts behind"
        status=1
    fi
    return $status
}

# Both releases at once: each install is mostly one emulated process.
status=0
for suite in "${suites[@]}"; do
    install_in_root "$suite" >"$dir/debian-$suite.log" 2>&1 &
    installs[$suite]=$!
done
for suite in "${suites[@]}"; do
    wait "${installs[$suite]}" || status=1
    cat "$dir/debian-$suite.log"
done
step "done"
exit $status
