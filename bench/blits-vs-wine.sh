#!/usr/bin/env bash
# The transfers of bench/blit_timing.c on the stand-in and on real GDI under 64-bit Wine
# (the same source built with x86_64-w64-mingw32-gcc -O2), in one go: several rounds, the
# programs taking turns in each, so that the load of a shared machine falls on both alike;
# per scene the median over the rounds of each side's time, how many times as fast the
# stand-in is, and each stand-in scene against copying 90,000 pixels with memcpy.
#
#   bench/blits-vs-wine.sh [build-folder [rounds]]     (default: build-rel, 5 rounds)
#
# Build the folder first, in Release (the target blit_timing is enough); needs mingw-w64,
# wine64 and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
rounds=${2:-5}
ours="$build/bench/blit_timing"
[ -x "$ours" ] || { echo "$0: $ours is not built" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=${QG_WINE_HOME:-/tmp/qg-wine-$(id -u)}
x86_64-w64-mingw32-gcc -O2 -o "$work/blit_timing.exe" bench/blit_timing.c -lgdi32
for r in $(seq "$rounds"); do
  "$ours" >"$work/ours.$r"
  WINEARCH=win64 WINEPREFIX="$home/prefix64" tools/wine-run.sh "$work/blit_timing.exe" | tr -d '\r' >"$work/wine.$r"
  echo "round $r of $rounds done" >&2
done
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
of() { for r in $(seq "$rounds"); do awk -v s="$2" '$1 == s { print $2 }' "$work/$1.$r"; done | median; }
echo "Scenes of bench/blit_timing.c; nanoseconds per call, median of $rounds interleaved rounds;"
echo "ratio = Wine-64 / stand-in; vs-copy = stand-in / its own memcpy of 90,000 pixels."
echo
echo "| scene | stand-in ns | Wine-64 ns | ratio | vs-copy |"
echo "|---|---:|---:|---:|---:|"
copy=$(of ours copy-90k)
awk '{ print $1 }' "$work/ours.1" | while read -r scene; do
  a=$(of ours "$scene") b=$(of wine "$scene")
  awk -v s="$scene" -v a="$a" -v b="$b" -v c="$copy" \
    'BEGIN { printf "| %s | %d | %s | %s | %.2f |\n", s, a, b, (a > 0 && b != "-") ? sprintf("%.2f", b / a) : "-", a / c }'
done
