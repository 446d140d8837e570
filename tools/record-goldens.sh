#!/usr/bin/env bash
# Records the conformance goldens on real GDI: builds the case runner for Windows with
# mingw-w64, runs them under Wine (headless), and writes tests/conformance/goldens/.
#   tools/record-goldens.sh [--64]            every group (stale goldens are removed)
#   tools/record-goldens.sh [--64] GROUP...   only these groups
# 32-bit where this machine can run 32-bit programs, else (or with --64) 64-bit: both are
# real GDI and give the same pixels outside text.
# Build folder: $QG_ORACLE_BUILD (default build-oracle, build-oracle64 for 64-bit); only
# the recorder is built there. The 64-bit Wine prefix is the build folder's wine-prefix
# unless WINEPREFIX is set.
set -euo pipefail
cd "$(dirname "$0")/.."
goldens=tests/conformance/goldens

source tools/wine-env.sh
if [ "${1:-}" = --64 ]; then
  WINEARCH=win64
  shift
fi
qg_wine_setup record-goldens
if [ "$WINEARCH" = win64 ]; then
  build=${QG_ORACLE_BUILD:-build-oracle64}
  toolchain=toolchain-x86_64-w64-mingw32.cmake
  export WINEPREFIX=${WINEPREFIX:-$PWD/$build/wine-prefix}
else
  build=${QG_ORACLE_BUILD:-build-oracle}
  toolchain=toolchain-i686-w64-mingw32.cmake
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S tests/conformance -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain" >/dev/null
fi
cmake --build "$build" -j "${QG_JOBS:-2}" --target conformance_recorder >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Wine sees the whole Unix file system as drive Z:.
tools/wine-run.sh "$build/conformance_recorder.exe" "Z:$PWD/tests/conformance/cases" "Z:$out" \
  "Z:$PWD/tests/conformance/known-divergences.txt" "$@"

if [ ! -f "$out/complete" ]; then
  echo "record-goldens: the recorder did not finish; goldens left as they were" >&2
  exit 1
fi
mkdir -p "$goldens"
if [ $# -eq 0 ]; then
  rm -f "$goldens"/*.png "$goldens"/*.txt
fi
pairs=()
for ppm in "$out"/*.ppm; do
  name=$(basename "$ppm" .ppm)
  pairs+=("$ppm" "$goldens/$name.png")
  cp "$out/$name.txt" "$goldens/$name.txt"
done
python3 tools/ppm2png.py "${pairs[@]}"
echo "recorded $(( ${#pairs[@]} / 2 )) goldens into $goldens"
