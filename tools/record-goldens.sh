#!/usr/bin/env bash
# Records the conformance goldens on real GDI: builds the scenes for 32-bit Windows with
# mingw-w64, runs them under Wine (headless), and writes tests/conformance/goldens/.
#   tools/record-goldens.sh            every group (stale goldens are removed)
#   tools/record-goldens.sh GROUP...   only these groups
# Build folder: $QG_ORACLE_BUILD (default build-oracle); only the recorder is built there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QG_ORACLE_BUILD:-build-oracle}
goldens=tests/conformance/goldens

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S tests/conformance -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-i686-w64-mingw32.cmake" >/dev/null
fi
cmake --build "$build" -j "${QG_JOBS:-2}" --target conformance_recorder >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Wine sees the whole Unix file system as drive Z:.
tools/wine-run.sh "$build/conformance_recorder.exe" "Z:$out" \
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
