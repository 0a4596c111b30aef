# Shared by the set-up commands: install what is missing, then build.
# Sourced, not run.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELMORA_BUILD=${VELMORA_BUILD:-$VELMORA_ROOT/build}

# What building and running need on a fresh Debian 12.
VELMORA_PACKAGES=(
    build-essential cmake
    qt6-base-dev
    fonts-liberation
)
# What the tests and benchmarks need besides: the test libraries, the tools
# that check the package, the desktop entry and the Windows resource, and a
# Wayland compositor with Qt's Wayland plugin to run the windows on.
VELMORA_TEST_PACKAGES=(
    libgtest-dev libbenchmark-dev
    dpkg-dev file desktop-file-utils appstream binutils-mingw-w64-x86-64
    weston qt6-wayland
)

# Installs the Debian packages that are not installed yet; quiet and quick
# when everything is there already.
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
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Configures (quick when nothing changed, and it finds libraries installed
# since), then builds what changed: build_velmora [DIR [CMAKE_ARGS...]]
build_velmora() {
    local dir=${1:-$VELMORA_BUILD}
    shift || true
    cmake -S "$VELMORA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
