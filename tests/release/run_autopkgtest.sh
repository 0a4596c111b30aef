#!/usr/bin/env bash
# Runs the package's autopkgtest (debian/tests) with Debian's autopkgtest
# tool against the built package, as Debian's CI does, inside a fresh Debian
# root of this machine's release: the tests' dependencies are installed
# there, and nothing of the machine changes. Needs root and mmdebstrap.
# With VELMORA_AUTOPKGTEST_HERE=1, on a machine that is itself a throwaway
# Debian root (the Debian 13 stage's), it runs on that machine directly.
#   run_autopkgtest.sh WORK_DIR SOURCE_DIR PACKAGE.deb...
set -euo pipefail
work=$1 source=$2
shift 2
repository=$(cd "$(dirname "$0")/../.." && pwd)
source "$repository/scripts/common.sh"
source "$repository/scripts/debian-root.sh"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
arch=$(dpkg --print-architecture)
mkdir -p "$work"
work=$(cd "$work" && pwd)
source=$(cd "$source" && pwd)

if [ "${VELMORA_AUTOPKGTEST_HERE:-}" = 1 ]; then
    command -v autopkgtest >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null
    status=0
    autopkgtest --output-dir "$work/out" "$@" "$source" -- null || status=$?
    echo "autopkgtest: exit status $status"
    exit "$status"
fi

# A cached root is only read, each run's changes kept apart; else a root of
# this run's own.
if declare -F cached_debian_root >/dev/null; then
    root=
    cached_debian_root root "$suite" "$arch" autopkgtest
    rm -rf "$work/upper"
    testbed=$work/upper/data/srv/autopkgtest
    run() { in_debian_root --upper "$work/upper" "$root" "$@"; }
else
    rm -rf "$work/root"
    make_debian_root "$work" "$suite" "$arch"
    testbed=$work/root/srv/autopkgtest
    run() { in_debian_root "$work/root" "$@"; }
fi
mkdir -p "$testbed/source"
cp "$@" "$testbed/"
tar -C "$source" --exclude='./build*' --exclude=./dist --exclude='./obj-*' -c . | tar -x -C "$testbed/source"
packages=()
for deb in "$@"; do packages+=("/srv/autopkgtest/${deb##*/}"); done

# The "null" testbed: the root itself, already apart from the machine.
status=0
run sh -c 'apt-get update -qq &&
           { command -v autopkgtest >/dev/null ||
             DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null; } &&
           exec autopkgtest --output-dir /srv/autopkgtest/out "$@" /srv/autopkgtest/source -- null' \
    autopkgtest "${packages[@]}" || status=$?
rm -rf "$work/out"
cp -r "$testbed/out" "$work/out" 2>/dev/null || true
echo "autopkgtest: exit status $status; its summary:"
cat "$work/out/summary" 2>/dev/null || echo "(none)"
exit "$status"
