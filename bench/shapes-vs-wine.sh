#!/usr/bin/env bash
# The drawing scenes of bench/shapes_timing.c on the stand-in and on real GDI under 64-bit
# Wine (the same source built with x86_64-w64-mingw32-gcc -O2), in one go: several rounds,
# the programs taking turns in each, so that the load of a shared machine falls on both
# alike; per scene the median over the rounds of each side's best time, and the ratio
# Wine / stand-in (higher is better for the stand-in). The 32-bit Windows build under
# 32-bit Wine is added as a column where this machine can run 32-bit programs.
#
#   bench/shapes-vs-wine.sh [build-folder [rounds]]     (default: build-rel, 5 rounds)
#
# Build the folder first, in Release: scripts/build.sh build-rel -DCMAKE_BUILD_TYPE=Release
# (the target shapes_timing is enough). Needs mingw-w64, wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
rounds=${2:-5}
ours="$build/bench/shapes_timing"
[ -x "$ours" ] || { echo "$0: $ours is not built" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=${QG_WINE_HOME:-/tmp/qg-wine-$(id -u)}

# Debian's wine starts the 32-bit loader whenever it is installed, even where it cannot
# run; 64-bit programs are started with the 64-bit loader directly.
mkdir -p "$work/wine64"
if [ -x /usr/lib/wine/wine64 ]; then
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$work/wine64/$name"
    chmod +x "$work/wine64/$name"
  done
fi
run_wine64() {
  PATH="$work/wine64:$PATH" WINEARCH=win64 WINEPREFIX="$home/prefix64" \
    tools/wine-run.sh "$work/shapes64.exe" | tr -d '\r'
}
run_wine32() {
  WINEARCH=win32 WINEPREFIX="$home/prefix32" tools/wine-run.sh "$work/shapes32.exe" | tr -d '\r'
}

x86_64-w64-mingw32-gcc -O2 -o "$work/shapes64.exe" bench/shapes_timing.c -lgdi32
sides="ours wine64"
# The 32-bit loader starting at all tells whether this machine runs 32-bit programs.
loader32=/usr/lib/wine/wine
if ! [ -x "$loader32" ] || ! "$loader32" --version >/dev/null 2>&1; then
  note32="32-bit Wine: not measured (this machine cannot run 32-bit programs)."
elif ! command -v i686-w64-mingw32-gcc >/dev/null; then
  note32="32-bit Wine: not measured (i686-w64-mingw32-gcc is not installed)."
else
  i686-w64-mingw32-gcc -O2 -o "$work/shapes32.exe" bench/shapes_timing.c -lgdi32
  sides="$sides wine32"
  note32="32-bit Wine: measured (column Wine-32)."
fi

for r in $(seq "$rounds"); do
  for side in $sides; do
    case $side in
    ours) "$ours" >"$work/$side.$r" ;;
    wine64) run_wine64 >"$work/$side.$r" ;;
    wine32) run_wine32 >"$work/$side.$r" ;;
    esac
  done
  echo "round $r of $rounds done" >&2
done

echo "Scenes of bench/shapes_timing.c, 1000 x 600 32-bit surface; nanoseconds per call, median of"
echo "$rounds interleaved rounds (each the best of 10 runs); ratio = Wine-64 / stand-in."
echo "$note32"
echo
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0 && b != "-") printf "%.2f", b / a; else printf "-" }'; }
misses=
# One row a scene, in the program's order: the median of each side's rounds.
awk '{ print $1 }' "$work/ours.1" >"$work/order"
header="| scene | stand-in ns | Wine-64 ns | ratio |"
rule="|---|---:|---:|---:|"
case " $sides " in *" wine32 "*) header="$header Wine-32 ns | ratio |"; rule="$rule---:|---:|" ;; esac
echo "$header"
echo "$rule"
while read -r scene; do
  row="| $scene"
  for side in $sides; do
    m=$(for r in $(seq "$rounds"); do awk -v s="$scene" '$1 == s { print $2 }' "$work/$side.$r"; done |
        sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
    eval "med_$side=\$m"
  done
  r64=$(ratio "$med_ours" "$med_wine64")
  row="$row | $med_ours | $med_wine64 | $r64"
  case $scene in
  memset-* | fill-rect-* | memcpy-* | update-buffer) ;; # bound by the memory: judged against the C library below
  *) awk -v r="$r64" 'BEGIN { exit !(r != "-" && r < 2) }' && misses="$misses $scene" ;;
  esac
  case " $sides " in *" wine32 "*) row="$row | $med_wine32 | $(ratio "$med_ours" "$med_wine32")" ;; esac
  echo "$row |"
done <"$work/order"
echo
echo "below 2 x Wine-64:${misses:- none}"
# The full-surface fill against memset of a buffer of the same size, in the same run.
for r in $(seq "$rounds"); do
  awk '/^memset-/ { m = $2 } /^fill-rect-/ { f = $2 } END { if (m > 0) printf "%.3f\n", f / m }' "$work/ours.$r"
done | sort -n | awk '{ v[NR] = $1 } END { printf "full-surface fill / memset on the stand-in (median of the rounds): %.2f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
# The back-buffer copy against memcpy of as many bytes, in the same run.
for r in $(seq "$rounds"); do
  awk '/^memcpy-/ { m = $2 } /^update-buffer/ { u = $2 } END { if (m > 0) printf "%.3f\n", u / m }' "$work/ours.$r"
done | sort -n | awk '{ v[NR] = $1 } END { printf "back-buffer copy / memcpy on the stand-in (median of the rounds): %.2f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
