#!/usr/bin/env bash
# Builds Quen's Zarn and the library for Windows with mingw-w64: build-win32/zarn/zarn.exe
# (a 32-bit console program using the real user32, gdi32, comdlg32, winmm and kernel32)
# with its pictures beside it, and the Windows tests.
#   scripts/build-windows.sh           32-bit, into build-win32/
#   scripts/build-windows.sh --64      64-bit as well, into build-win64/ (programs only)
# libjpeg is built from Debian's libjpeg-turbo source the first time (into the build
# folder's deps/); later builds reuse it. Set QG_HOST_BUILD to a Linux build folder other
# than build/ to take the picture generator and the stand-in comparison programs from it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

want64=
for arg in "$@"; do
  case $arg in
    --64) want64=1 ;;
    *) echo "usage: $0 [--64]" >&2; exit 2 ;;
  esac
done

scripts/deps.sh
host=${QG_HOST_BUILD:-build}

# The Linux build supplies what runs on this machine: the picture generator and the
# stand-in half of the surface comparison.
cmake -S . -B "$host" -G "Unix Makefiles" >/dev/null
cmake --build "$host" -j "${QG_JOBS:-2}" --target surface_script zarn_fleet

build_one() { # folder toolchain [cmake options...]
  local dir=$1 toolchain=$2
  shift 2
  scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    -DQG_HOST_BUILD="$(realpath -m "$host")" "$@"
}

build_one build-win32 toolchain-i686-w64-mingw32.cmake
scripts/win32-pictures.sh "$host" build-win32/zarn
if [ -n "$want64" ]; then
  build_one build-win64 toolchain-x86_64-w64-mingw32.cmake -DQG_BUILD_TESTS=OFF
  scripts/win32-pictures.sh "$host" build-win64/zarn
fi
echo "Windows build: build-win32/zarn/zarn.exe${want64:+ and build-win64/zarn/zarn.exe}"
