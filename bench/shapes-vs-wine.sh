#!/usr/bin/env bash
# The drawing scenes of bench/shapes_timing.c on the stand-in (build/bench/shapes_timing)
# and on real GDI under Wine (the same source built with mingw-w64), in one go: each
# scene's nanoseconds per operation on both, and how many times as fast the stand-in is.
# Build first (scripts/build.sh build); needs mingw-w64, wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/shapes_timing > "$work/ours"
i686-w64-mingw32-gcc -O2 -o "$work/shapes_timing.exe" bench/shapes_timing.c -lgdi32
tools/wine-run.sh "$work/shapes_timing.exe" | tr -d '\r' > "$work/wine"
printf '%-20s %12s %12s %8s\n' scene stand-in-ns wine-ns ratio
join "$work/ours" "$work/wine" | awk '{ printf "%-20s %12d %12d %8.1f\n", $1, $2, $3, ($2 > 0 ? $3 / $2 : 0) }'
awk '/^memset/ {m = $2} /^fill-rect/ {f = $2} END { printf "full-surface fill / memset on the stand-in: %.2f\n", f / m }' "$work/ours"
