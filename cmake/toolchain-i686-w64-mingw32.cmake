# CMake toolchain for 32-bit Windows with Debian's mingw-w64 (posix threads flavour).
# Usage: cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QG_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# Doubles in SSE2 registers, as on x86-64 and as 32-bit Windows compilers do by default:
# the x87 unit keeps 80-bit intermediates, which make v / 255.0 * 255.0 fall a hair below
# v, so colour components would come out one lower than on every other build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
