# shellcheck shell=bash disable=SC2034 # the lists are for the scripts that source this
# Shared by the set-up commands: install what is missing, then build.
# Sourced, not run.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELMORA_BUILD=${VELMORA_BUILD:-$VELMORA_ROOT/build}
# What test runs keep between them outside the clone, as CI machines keep
# their package caches: the Debian roots and the compiler's cache.
if [ "$(id -u)" -eq 0 ]; then
    VELMORA_CACHE=${VELMORA_CACHE:-/var/cache/velmora}
else
    VELMORA_CACHE=${VELMORA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora}
fi

# The Debian release this runs on: 12, 13, or later (testing has no number).
# Set, it names another release whose lists are wanted (a root to make).
VELMORA_DEBIAN=${VELMORA_DEBIAN:-$(. /etc/os-release 2>/dev/null && echo "${VERSION_ID%%.*}")}
VELMORA_DEBIAN=${VELMORA_DEBIAN:-99}

# What building and running need on a fresh Debian 12 or 13. Debian 13 has
# the narrow face the windows are laid out for in a package of its own.
VELMORA_PACKAGES=(
    build-essential cmake
    qt6-base-dev libfast-float-dev
    fonts-liberation
)
[ "$VELMORA_DEBIAN" -lt 13 ] || VELMORA_PACKAGES+=(fonts-liberation-sans-narrow)
# What the core and its tests alone need: no Qt (scripts/test core).
VELMORA_CORE_PACKAGES=(build-essential cmake libfast-float-dev libgtest-dev)

# What the fuzzers need (scripts/fuzz): the release's own clang, the one its
# clang package depends on, and that clang's sanitizer and libFuzzer runtime.
case $VELMORA_DEBIAN in
    12) VELMORA_CLANG=14 ;;
    13) VELMORA_CLANG=19 ;;
    *) VELMORA_CLANG=$(apt-cache depends clang 2>/dev/null |
                           sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1) ;;
esac
VELMORA_FUZZ_PACKAGES=(build-essential cmake libfast-float-dev "clang-${VELMORA_CLANG:-19}" "libclang-rt-${VELMORA_CLANG:-19}-dev")

# What the tests and benchmarks need besides: the test libraries, the tools
# that check the package, the desktop entry and the Windows resource, a
# Wayland compositor with Qt's Wayland plugin to run the windows on, and an X
# server, D-Bus and the AT-SPI bus with its Python bindings, to read the
# program as a screen reader does; the locales' sources, to build those the
# window is tested in; the faces its captions are tested in besides the
# designed one, and fc-list to find their files.
VELMORA_TEST_PACKAGES=(
    libgtest-dev libbenchmark-dev locales
    dpkg-dev file desktop-file-utils appstream binutils-mingw-w64-x86-64
    weston qt6-wayland
    xvfb dbus at-spi2-core python3-gi gir1.2-atspi-2.0
    fontconfig fonts-noto-core fonts-dejavu-core
)

# What hearing the window through Orca needs (tests/orca): Debian's Orca,
# speech-dispatcher with espeak-ng (into ALSA's null device), an X server,
# D-Bus, the AT-SPI bus, a small window manager, and the tools that type
# keys and ask the window manager, and Qt's version.
VELMORA_ORCA_TEST_PACKAGES=(
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
    xvfb dbus at-spi2-core openbox xdotool x11-utils qt6-base-dev-tools
)

# What the Windows program and its packages need: the 32-bit MinGW-w64
# compilers and NSIS (scripts/windows-build).
VELMORA_WINDOWS_PACKAGES=(
    cmake g++-mingw-w64-i686 binutils-mingw-w64-i686 nsis libfast-float-dev
)
# What its tests need besides: GoogleTest's sources, 32-bit Wine with a
# private X server, and the tools that drive and picture its windows.
VELMORA_WINDOWS_TEST_PACKAGES=(
    googletest python3 wine wine32:i386 fonts-wine xvfb xauth xdotool imagemagick
)

# What the page in the browser needs: Debian's emscripten (which brings
# Node.js to run the build's own steps) and fast_float.
VELMORA_WEB_PACKAGES=(
    cmake emscripten libfast-float-dev python3
)
# What its tests need besides: GoogleTest's sources for the core's tests
# under Node.js, and Chromium for the page's (driven by Playwright from npm).
VELMORA_WEB_TEST_PACKAGES=(
    googletest chromium fonts-liberation
    # The page in the other engines: Firefox ESR, and WebKitGTK's driver
    # (which brings MiniBrowser) on Xvfb, with the locales' sources to build
    # the German one it is tested in.
    firefox-esr webkit2gtk-driver xvfb locales
    # The page on Debian's web servers, each run by its test on a port of
    # its own (tests/web/servers.test.mjs).
    nginx apache2
)
# Packages whose install would start a system service: both web servers
# want port 80, and the tests run their own.
VELMORA_QUIET_SERVICES=(nginx apache2)

# What scripts/release needs besides the three builds' own: Debian's
# packaging tools, git for the source archive, the tool that takes the
# build's times out of the zips, and pefile to date the installer's header;
# GnuPG and osslsigncode to sign, curl to find a timestamp server, and
# apt-ftparchive for the apt repository.
VELMORA_RELEASE_PACKAGES=(
    debhelper dpkg-dev git strip-nondeterminism python3-pefile
    gpg gpg-agent osslsigncode curl apt-utils
)
# What checking the release needs: Debian's own check of a package, and man
# to find the manual page it installs. (The check installs what Debian's own
# Node.js needs as it asks for it.)
# gpgv and sqv check the signatures as a user does, openssl makes the test
# certificates, and Python serves the apt repository to Debian roots.
VELMORA_RELEASE_TEST_PACKAGES=(
    lintian man-db gpgv sqv openssl python3 mmdebstrap
)

# What testing on a fresh Debian 13 needs: the tool that makes its root.
VELMORA_DEBIAN13_TEST_PACKAGES=(mmdebstrap)

# What the 64-bit ARM package needs (scripts/release): Debian's cross
# compilers, and the arm64 Qt that multiarch installs beside the PC's (whose
# moc and rcc serve both).
VELMORA_ARM64_PACKAGES=(crossbuild-essential-arm64 qt6-base-dev:arm64)
# What testing it needs besides: GoogleTest for arm64, qemu's user-mode
# emulator to run it, and mmdebstrap with arch-test for an arm64 root.
VELMORA_ARM64_TEST_PACKAGES=(libgtest-dev:arm64 qemu-user-static mmdebstrap arch-test)

# Installs the Debian packages that are not installed yet; quiet and quick
# when everything is there already. Names like wine32:i386 bring in that
# architecture first.
install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages: ${missing[*]}; run this as root or install sudo." >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    for package in "${missing[@]}"; do
        local arch=${package##*:}
        [ "$arch" != "$package" ] || continue
        if [ "$arch" != "$(dpkg --print-architecture)" ] &&
           ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
            "${sudo[@]}" dpkg --add-architecture "$arch"
        fi
    done
    # Another apt at work (an unattended upgrade, a second build) is waited for.
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    # Debian's policy-rc.d answer 101 keeps the services above from starting
    # while they install, where the machine has no such policy of its own.
    local policy=/usr/sbin/policy-rc.d quiet='' service starts=''
    for service in "${VELMORA_QUIET_SERVICES[@]}"; do
        [[ " ${missing[*]} " != *" $service "* ]] || starts=1
    done
    if [ -n "$starts" ] && [ ! -e "$policy" ]; then
        printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
        "${sudo[@]}" chmod 755 "$policy"
        quiet=1
    fi
    local status=0
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 \
        install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null || status=$?
    [ -z "$quiet" ] || "${sudo[@]}" rm -f "$policy"
    return $status
}

# Configures (quick when nothing changed, and it finds libraries installed
# since), then builds what changed: build_velmora [DIR [CMAKE_ARGS...]]
# With VELMORA_REQUIRE_TEST_DEPS=ON (scripts/test), a missing test library
# fails the configuration rather than leaving its tests out.
build_velmora() {
    local dir=${1:-$VELMORA_BUILD}
    shift || true
    cmake -S "$VELMORA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        "-DVELMORA_REQUIRE_TEST_DEPS=${VELMORA_REQUIRE_TEST_DEPS:-OFF}" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

# use_compiler_cache: every compile from here on goes through ccache, kept
# in VELMORA_CACHE/ccache, whichever folder the clone is in. Test builds
# only: the release's builds each compile everything (scripts/release), so
# that two of them prove the same bytes.
use_compiler_cache() {
    install_missing ccache
    export CCACHE_DIR=$VELMORA_CACHE/ccache CCACHE_BASEDIR=$VELMORA_ROOT CCACHE_NOHASHDIR=true
    export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-3G}
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    # emcc is a script that runs clang: the cache wraps that clang. (Newer
    # emcc looks for the wrapper on no PATH.)
    EM_COMPILER_WRAPPER=$(command -v ccache)
    export EM_COMPILER_WRAPPER
}

# run_tests DIR [CTEST_ARGS...]: the build's tests; a build with none fails.
run_tests() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --output-on-failure --no-tests=error "$@"
}

# The Linux build with AddressSanitizer and UndefinedBehaviorSanitizer, in
# build-sanitize/; its tests fail at any report, leaks included.
VELMORA_SANITIZE_BUILD=${VELMORA_SANITIZE_BUILD:-$VELMORA_ROOT/build-sanitize}
build_velmora_sanitize() {
    local flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    build_velmora "$VELMORA_SANITIZE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELMORA_BUILD_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=$flags"
}
run_sanitized_tests() {
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests "$VELMORA_SANITIZE_BUILD" "$@"
}

# The Windows build: cross-compiled into build-windows/, its tests run under Wine.
VELMORA_WINDOWS_BUILD=${VELMORA_WINDOWS_BUILD:-$VELMORA_ROOT/build-windows}
build_velmora_windows() {
    build_velmora "$VELMORA_WINDOWS_BUILD" \
        "-DCMAKE_TOOLCHAIN_FILE=$VELMORA_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" "$@"
}

# The page: built in build-wasm/, its files for a web server in build-web/.
VELMORA_WEB_BUILD=${VELMORA_WEB_BUILD:-$VELMORA_ROOT/build-wasm}
VELMORA_WEB_SITE=${VELMORA_WEB_SITE:-$VELMORA_ROOT/build-web}
build_velmora_web() {
    # Debian's emscripten finds its JavaScript modules where Debian's Node.js
    # keeps them; another Node.js is told where that is.
    export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
    # A compiler cache goes around emcc's clang (EM_COMPILER_WRAPPER), not emcc.
    CMAKE_C_COMPILER_LAUNCHER='' CMAKE_CXX_COMPILER_LAUNCHER='' build_velmora "$VELMORA_WEB_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
        "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node)" "$@"
    rm -rf "$VELMORA_WEB_SITE"
    cmake --install "$VELMORA_WEB_BUILD" --prefix "$VELMORA_WEB_SITE" >/dev/null
}

# Playwright and axe-core, at the versions package-lock.json holds; npm
# itself only where no Node.js brought it.
install_web_test_modules() {
    command -v npm >/dev/null || install_missing npm
    local modules=$VELMORA_ROOT/tests/web
    # A copy of the lock beside the modules says they match it.
    if ! cmp -s "$modules/package-lock.json" "$modules/node_modules/.velmora-lock"; then
        npm ci --prefix "$modules" --no-audit --no-fund --loglevel=error >/dev/null
        cp "$modules/package-lock.json" "$modules/node_modules/.velmora-lock"
    fi
}
