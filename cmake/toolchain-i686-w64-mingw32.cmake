# CMake toolchain for 32-bit Windows with Debian's mingw-w64 (posix threads flavour).
# Usage: cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QG_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QG_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QG_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QG_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QG_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Doubles in SSE2 registers, as on x86-64 and as 32-bit Windows compilers do by default:
# the x87 unit keeps 80-bit intermediates, which make v / 255.0 * 255.0 fall a hair below
# v, so colour components would come out one lower than on every other build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# The programs run under Wine or on a bare Windows machine: link the compiler's runtime
# (and the posix threads library it pulls in) statically, so no extra DLL has to be found.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Lets CMake run cross-built test programs at build time through Wine if asked.
find_program(QG_WINE wine)
if(QG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QG_WINE})
endif()
