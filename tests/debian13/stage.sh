#!/usr/bin/env bash
# Velmora on a fresh Debian 13 machine: a Debian 13 root made by mmdebstrap
# from the machine's own archive (reused when it is there), this tree copied
# in, and there the README's commands, the Linux tests, the page in Chromium,
# the Debian package with lintian, and the package that DEB names (the Debian
# 12 release's) installed, started and purged.
#   stage.sh DIR DEB
set -euo pipefail
dir=$1
deb=$(readlink -f "$2")
source "$(dirname "$0")/../../scripts/common.sh"
source "$VELMORA_ROOT/scripts/debian-root.sh"

started=$SECONDS
make_debian_root "$dir" trixie
root=$(cd "$dir/root" && pwd)
echo "Debian $(cat "$root/etc/debian_version") root ready after $((SECONDS - started)) s"

# Nothing of the root may outlive its run: no mount, no process.
left_behind() {
    grep -F " $root/" /proc/self/mountinfo || true
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" != "$root" ] || echo "process ${process#/proc/}"
    done
}
in_debian_root "$root" sleep 300 &
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

copy_sources_into "$root" /root/velmora
cp "$deb" "$root/root/velmora-released.deb"
status=0
in_debian_root "$root" bash /root/velmora/tests/debian13/inside.sh /root/velmora-released.deb ||
    status=$?
if [ -n "$(left_behind)" ]; then
    echo "FAILED: the run in the root left behind:"
    left_behind
    status=1
fi
echo "Debian 13 stage: $((SECONDS - started)) s"
exit $status
