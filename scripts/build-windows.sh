#!/usr/bin/env bash
# Builds Quen's Zarn, the library and the Windows tests for Windows with mingw-w64: a
# console program using the real user32, gdi32, comdlg32, winmm and kernel32, with its
# pictures beside it.
#   scripts/build-windows.sh           32-bit, into build-win32/ (zarn/zarn.exe)
#   scripts/build-windows.sh --64      64-bit instead, into build-win64/
#   scripts/build-windows.sh --32 --64 both
# libjpeg is built from Debian's libjpeg-turbo source the first time (into the build
# folder's deps/); later builds reuse it. Set QG_HOST_BUILD to a Linux build folder other
# than build/ to take the picture generator and the stand-in comparison programs from it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

words=()
for arg in "$@"; do
  case $arg in
    --32) words+=(32) ;;
    --64) words+=(64) ;;
    *) echo "usage: $0 [--32] [--64]" >&2; exit 2 ;;
  esac
done
[ ${#words[@]} -gt 0 ] || words=(32)

scripts/deps.sh
host=${QG_HOST_BUILD:-build}

# The Linux build supplies what runs on this machine: the picture generator and the
# stand-in half of the surface comparison.
cmake -S . -B "$host" -G "Unix Makefiles" >/dev/null
cmake --build "$host" -j "${QG_JOBS:-2}" --target surface_script random_scenes zarn_fleet

built=()
for bits in $(printf '%s\n' "${words[@]}" | sort -u); do
  case $bits in
    32) toolchain=toolchain-i686-w64-mingw32.cmake ;;
    64) toolchain=toolchain-x86_64-w64-mingw32.cmake ;;
  esac
  dir=build-win$bits
  scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    -DQG_HOST_BUILD="$(realpath -m "$host")"
  scripts/win32-pictures.sh "$host" "$dir/zarn"
  built+=("$dir/zarn/zarn.exe")
done
echo "Windows build: ${built[*]}"
