# Cross-builds the 32-bit Windows program with Debian's MinGW-w64 compilers:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
# Tests run under Wine through tests/windows/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

# The posix threading variant: the full C++ thread library, linked in
# statically like the rest of the runtime.
set(VELMORA_MINGW i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 doubles instead of the x87's 80-bit ones, so that every rounding
# comes out as on the 64-bit Linux build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# One file that needs only Windows' own DLLs: no MinGW runtime to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Optimised builds link stripped: the program built is the program shipped.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run.sh ABSOLUTE)
