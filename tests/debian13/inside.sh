#!/usr/bin/env bash
# Run inside the Debian 13 root by stage.sh, in the copied tree; each step
# as a new user on Debian 13 meets it.
#   inside.sh RELEASED.deb
set -euo pipefail
released=$1
cd "$(dirname "$0")/../.."
source scripts/common.sh
export QT_QPA_PLATFORM=offscreen
step() { echo "-- Debian 13: $1 ($SECONDS s)"; }

step "the README's command installs, builds and starts"
scripts/run

step "the Linux tests"
install_missing "${VELMORA_TEST_PACKAGES[@]}" "${VELMORA_WEB_PACKAGES[@]}" googletest chromium \
    "${VELMORA_RELEASE_PACKAGES[@]}" "${VELMORA_RELEASE_TEST_PACKAGES[@]}"
build_velmora "$VELMORA_BUILD"
ctest --test-dir "$VELMORA_BUILD" --output-on-failure --parallel "$(nproc)"

step "the window heard through Debian 13's Orca"
install_missing "${VELMORA_ORCA_TEST_PACKAGES[@]}"
tests/orca/run_orca.sh tests/orca/desktop_scenarios.py "$VELMORA_BUILD/app/velmora"

step "the page, in Chromium"
install_web_test_modules
build_velmora_web
ctest --test-dir "$VELMORA_WEB_BUILD" --output-on-failure

step "the Debian package, and lintian"
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package=build-deb/velmora-$version
rm -rf build-deb
mkdir -p "$package"
tar --exclude='./build*' --exclude=node_modules -c . | tar -x -C "$package"
(cd "$package" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -b -us -uc \
    >../dpkg-buildpackage.log 2>&1) || { tail -40 build-deb/dpkg-buildpackage.log; exit 1; }
lintian --fail-on error,warning --display-info --pedantic "build-deb/velmora_${version}_amd64.deb"

step "the Debian 12 release's package installs, starts and is purged"
tests/package/install_and_remove.sh "$released" build-deb/installed
step "done"
