#!/usr/bin/env bash
# The transfers of bench/blit_timing.c on the stand-in (build/bench/blit_timing) and on
# real GDI under 64-bit Wine (the same source built with mingw-w64), in one go: each
# scene's median nanoseconds on both, how many times as fast the stand-in is, and each
# stand-in scene against copying 90,000 pixels with memcpy.
# Build first (scripts/build.sh build); needs mingw-w64, wine64 and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/blit_timing > "$work/ours"
x86_64-w64-mingw32-gcc -O2 -o "$work/blit_timing.exe" bench/blit_timing.c -lgdi32
export WINEARCH=win64 # wine-run.sh puts the 64-bit loader first (tools/wine-env.sh)
tools/wine-run.sh "$work/blit_timing.exe" | tr -d '\r' > "$work/wine"
printf '%-36s %12s %12s %8s %10s\n' scene stand-in-ns wine-ns ratio vs-copy
copy=$(awk '$1 == "copy-90k" { print $2 }' "$work/ours")
join <(sort "$work/ours") <(sort "$work/wine") |
  awk -v copy="$copy" '{ printf "%-36s %12d %12d %8.1f %10.2f\n", $1, $2, $3, ($2 > 0 ? $3 / $2 : 0), $2 / copy }'
