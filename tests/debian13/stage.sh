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
root=$dir/root
echo "Debian $(cat "$root/etc/debian_version") root ready after $((SECONDS - started)) s"
copy_sources_into "$root" /root/velmora
cp "$deb" "$root/root/velmora-released.deb"
in_debian_root "$root" bash /root/velmora/tests/debian13/inside.sh /root/velmora-released.deb
echo "Debian 13 stage: $((SECONDS - started)) s"
