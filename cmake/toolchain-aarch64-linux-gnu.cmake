# Cross-builds the Linux program and its tests for 64-bit ARM with Debian's
# cross compilers, against the arm64 Qt that multiarch installs beside the
# PC's (its moc and rcc are the PC's own):
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64-linux-gnu.cmake
# Tests run under qemu's user-mode emulator. The Debian package is built by
# dpkg-buildpackage --host-arch arm64 instead, which sets all this itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "")

find_program(VELMORA_QEMU_AARCH64 qemu-aarch64-static qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORA_QEMU_AARCH64})
