#!/usr/bin/env bash
# DrawString of "MISSLE COUNT:" in bold Arial height 20 on a 1000 x 600 surface, side by
# side in one run: the stand-in (build/bench/text_bench) and real GDI under Wine making the
# same calls (bench/wine_text_timing.c, built with mingw-w64). Prints both and the ratio.
# Build first (scripts/build.sh build); needs mingw-w64, wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

ours=$(build/bench/text_bench --benchmark_filter='^DrawStringStatus$' --benchmark_min_time=1 \
         --benchmark_format=csv 2>/dev/null | awk -F, '/DrawStringStatus/ {print int($3)}')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
i686-w64-mingw32-gcc -O2 -o "$work/wine_text_timing.exe" bench/wine_text_timing.c -lgdi32
wine=$(tools/wine-run.sh "$work/wine_text_timing.exe" | tr -d '\r')
echo "DrawString \"MISSLE COUNT:\", bold Arial 20, 1000 x 600:"
echo "  stand-in   ${ours} ns"
echo "  Wine GDI   ${wine} ns"
awk -v a="$ours" -v b="$wine" 'BEGIN { printf "  the stand-in is %.1f times as fast\n", b / a }'
