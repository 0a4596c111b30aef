#!/usr/bin/env bash
# Run inside the Debian 13 root by stage.sh, in the copied tree; each step
# as a new user on Debian 13 meets it.
#   inside.sh RELEASED.deb
#   inside.sh --packages    lists what the steps install, for the root's cache
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh

packages=(
    "${VELMORA_PACKAGES[@]}" "${VELMORA_TEST_PACKAGES[@]}" "${VELMORA_WEB_PACKAGES[@]}" googletest chromium npm
    "${VELMORA_RELEASE_PACKAGES[@]}" "${VELMORA_RELEASE_TEST_PACKAGES[@]}" "${VELMORA_ORCA_TEST_PACKAGES[@]}"
    "${VELMORA_FUZZ_PACKAGES[@]}" autopkgtest ccache
)
if [ "${1:-}" = --packages ]; then
    printf '%s\n' "${packages[@]}" | sort -u
    exit 0
fi

released=$1
export QT_QPA_PLATFORM=offscreen VELMORA_REQUIRE_TEST_DEPS=ON
use_compiler_cache
step() { echo "-- Debian 13: $1 ($SECONDS s)"; }

step "the README's command installs, builds and starts"
scripts/run

step "the Linux tests"
# The root was made with all of them: this finds nothing missing.
install_missing "${packages[@]}"
build_velmora "$VELMORA_BUILD"
run_tests "$VELMORA_BUILD" --parallel "$(nproc)"

step "the window heard through Debian 13's Orca"
tests/orca/run_orca.sh tests/orca/desktop_scenarios.py "$VELMORA_BUILD/app/velmora"

step "the fuzzers, with Debian 13's clang"
VELMORA_FUZZ_SECONDS=${VELMORA_FUZZ_SECONDS:-5} scripts/fuzz

step "the sanitizer build and its tests"
build_velmora_sanitize
run_sanitized_tests --parallel "$(nproc)"

step "the page, in Chromium"
install_web_test_modules
build_velmora_web
run_tests "$VELMORA_WEB_BUILD" --parallel "$(nproc)"

step "the Debian 12 release's package installs, starts and is purged"
# Before the autopkgtest, which leaves the package it tested installed.
tests/package/install_and_remove.sh "$released" build-installed

step "the Debian source and binary packages, the core's tests in the build, lintian, the autopkgtest"
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package=build-deb/velmora-$version
rm -rf build-deb
mkdir -p "$package"
tar --exclude='./build*' --exclude=node_modules -c . | tar -x -C "$package"
(cd "$package" && dpkg-source -b . && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -b -us -uc) \
    >build-deb/dpkg-buildpackage.log 2>&1 || { tail -40 build-deb/dpkg-buildpackage.log; exit 1; }
grep -E '^[0-9]+% tests passed' build-deb/dpkg-buildpackage.log
lintian --fail-on error,warning --display-info --pedantic \
    "build-deb/velmora_${version}.dsc" "build-deb/velmora_${version}_amd64.deb"
VELMORA_AUTOPKGTEST_HERE=1 tests/release/run_autopkgtest.sh build-deb/autopkgtest "$package" \
    "build-deb/velmora_${version}_amd64.deb"

step "done"
