#!/usr/bin/env bash
# Velmora on 64-bit ARM, tested on this PC under qemu's user-mode emulator:
# the arm64 build's tests of what could differ on another processor (the
# core's tables, the windows' rules, start and captions), then the released
# arm64 package installed with apt into an arm64 root of this machine's
# Debian release (made by mmdebstrap from its own archive, reused when it is
# there), and in an arm64 Debian 13 root beside, started offscreen and purged
# without a trace.
#   stage.sh DIR DEB
set -euo pipefail
dir=$1
deb=$(readlink -f "$2")
source "$(dirname "$0")/../../scripts/common.sh"
source "$VELMORA_ROOT/scripts/debian-root.sh"
started=$SECONDS
step() { echo "-- arm64: $1 ($((SECONDS - started)) s)"; }

step "the kernel runs arm64 programs under qemu"
enable_emulation aarch64
"$(ls /usr/lib/aarch64-linux-gnu/ld-linux-aarch64.so.1)" --version | head -n 1

step "the core's and the windows' tests, cross-built, under qemu"
build_velmora "$dir/build" \
    "-DCMAKE_TOOLCHAIN_FILE=$VELMORA_ROOT/cmake/toolchain-aarch64-linux-gnu.cmake" \
    -DVELMORA_BUILD_BENCHMARKS=OFF
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir/build" --output-on-failure --parallel "$(nproc)"

# install_in_root SUITE: the package installed with apt into an arm64 root of
# that Debian release, started offscreen and purged.
install_in_root() {
    local suite=$1 folder=$dir/debian-$1 root status=0
    step "an arm64 Debian $suite root"
    # A run stopped midway may leave the package installed there: the root
    # is reused only after a run that ended cleanly.
    if [ -e "$folder/root" ] && [ ! -e "$folder/clean" ]; then
        rm -rf "$folder/root"
    fi
    make_debian_root "$folder" "$suite" arm64
    rm -f "$folder/clean"
    root=$(cd "$folder/root" && pwd)
    echo "arm64 Debian $(cat "$root/etc/debian_version"), $(chroot "$root" uname -m)"

    step "the package installs with apt into Debian $suite, starts offscreen and is purged"
    mkdir -p "$root/root/velmora"
    cp "$deb" "$VELMORA_ROOT/tests/package/install_and_remove.sh" "$root/root/velmora/"
    in_debian_root "$root" bash -euc '
        apt-get -qq update
        # man, to find the manual page, as a desktop system has it.
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends man-db >/dev/null
        rm -rf /root/velmora/installed
        bash /root/velmora/install_and_remove.sh "/root/velmora/$1" /root/velmora/installed
    ' install "${deb##*/}" || status=$?
    if grep -F " $root/" /proc/self/mountinfo; then
        echo "FAILED: the run in the arm64 Debian $suite root left mounts behind"
        status=1
    fi
    [ $status -ne 0 ] || touch "$folder/clean"
    return $status
}

# This machine's release, where the package is built, and Debian 13 beside
# Debian 12, as the one package serves both.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
suites=("$codename")
[ "$codename" != bookworm ] || suites+=(trixie)
status=0
for suite in "${suites[@]}"; do
    install_in_root "$suite" || status=1
done
step "done"
exit $status
