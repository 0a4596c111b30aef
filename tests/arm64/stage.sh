#!/usr/bin/env bash
# Velmora on 64-bit ARM, tested on this PC under qemu's user-mode emulator:
# the arm64 build's tests of what could differ on another processor (the
# core's tables, the windows' rules, start and captions), then the released
# arm64 package installed with apt into an arm64 root of this machine's
# Debian release (made by mmdebstrap from its own archive, reused when it is
# there), started offscreen and purged without a trace.
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

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
step "an arm64 Debian $codename root"
# A run stopped midway may leave the package installed there: the root is
# reused only after a run that ended cleanly.
if [ -e "$dir/debian/root" ] && [ ! -e "$dir/debian/clean" ]; then
    rm -rf "$dir/debian/root"
fi
make_debian_root "$dir/debian" "$codename" arm64
rm -f "$dir/debian/clean"
root=$(cd "$dir/debian/root" && pwd)
echo "arm64 Debian $(cat "$root/etc/debian_version"), $(chroot "$root" uname -m)"

step "the package installs with apt, starts offscreen and is purged"
mkdir -p "$root/root/velmora"
cp "$deb" "$root/root/velmora/"
cp "$VELMORA_ROOT/tests/package/install_and_remove.sh" "$root/root/velmora/"
status=0
in_debian_root "$root" bash -euc '
    apt-get -qq update
    # man, to find the manual page, as a desktop system has it.
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends man-db >/dev/null
    rm -rf /root/velmora/installed
    bash /root/velmora/install_and_remove.sh /root/velmora/'"${deb##*/}"' /root/velmora/installed
' || status=$?
if grep -F " $root/" /proc/self/mountinfo; then
    echo "FAILED: the run in the arm64 root left mounts behind"
    status=1
fi
[ $status -ne 0 ] || touch "$dir/debian/clean"
step "done"
exit $status
