#!/usr/bin/env bash
# Velmora on a fresh Debian 13 machine: a Debian 13 root made by mmdebstrap
# from the machine's own archive, with what inside.sh installs, and kept in
# the cache (scripts/debian-root.sh); each run sees it through an overlay
# whose changes stay in DIR/overlay. This tree is copied in, and there run
# the README's commands, the Linux tests, the fuzzers and the sanitizer
# build, the page in Chromium, the Debian package with lintian, and the
# package that DEB names (the Debian 12 release's) installed, started and
# purged.
#   stage.sh DIR DEB
#   stage.sh --root-only     only makes the root, or finds it in the cache
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$VELMORA_ROOT/scripts/debian-root.sh"

started=$SECONDS
# What inside.sh installs, as Debian 13's lists name it.
mapfile -t packages < <(VELMORA_DEBIAN=13 bash "$VELMORA_ROOT/tests/debian13/inside.sh" --packages)
cached_debian_root root trixie "$(dpkg --print-architecture)" "${packages[@]}"
echo "Debian $(cat "$root/etc/debian_version") root ready after $((SECONDS - started)) s: $root"
[ "${1:-}" != --root-only ] || exit 0

dir=$1
deb=$(readlink -f "$2")
# The overlay keeps the builds of the last run, to reuse, unless the root
# under it has changed.
overlay=$dir/overlay
# Where earlier runs kept a root of their own.
rm -rf "$dir/root"
if [ "$(cat "$dir/overlay.root" 2>/dev/null)" != "$root" ]; then
    rm -rf "$overlay"
fi
mkdir -p "$overlay"
echo "$root" >"$dir/overlay.root"
overlay=$(cd "$overlay" && pwd)
merged=$overlay/merged

# Nothing of the root may outlive its run: no mount, no process.
left_behind() {
    grep -F -e " $merged " -e " $merged/" -e " $root/" /proc/self/mountinfo || true
    for process in /proc/[0-9]*; do
        case $(readlink "$process/root" 2>/dev/null) in
            "$merged" | "$root") echo "process ${process#/proc/}" ;;
        esac
    done
}
in_debian_root --upper "$overlay" "$root" sleep 300 &
stopped=$!
sleep 2
kill -TERM "$stopped"
wait "$stopped" 2>/dev/null || true
sleep 1
if [ -n "$(left_behind)" ]; then
    echo "FAILED: a stopped run in the root left behind:"
    left_behind
    exit 1
fi
echo "ok: a stopped run in the root leaves no mount and no process"

copy_sources_into "$overlay/data" /root/velmora
cp "$deb" "$overlay/data/root/velmora-released.deb"
status=0
# Its compiler cache and npm's, kept between runs as the host's are.
in_debian_root --upper "$overlay" \
    --bind "$VELMORA_CACHE/debian13/ccache" /var/cache/velmora/ccache \
    --bind "$VELMORA_CACHE/debian13/npm" /root/.npm \
    "$root" bash /root/velmora/tests/debian13/inside.sh /root/velmora-released.deb || status=$?
if [ -n "$(left_behind)" ]; then
    echo "FAILED: the run in the root left behind:"
    left_behind
    status=1
fi
echo "Debian 13 stage: $((SECONDS - started)) s"
exit $status
