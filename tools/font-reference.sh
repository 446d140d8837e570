#!/usr/bin/env bash
# Records what real GDI reports for text (metrics, extents, TA_UPDATECP placement) by
# running tests/font/reference/record_reference.c, built for 32-bit Windows, under Wine
# with the Liberation fonts standing in for Arial, Times New Roman and Courier New.
# Writes tests/font/gdi-reference.txt, which the font tests compare the stand-in with.
set -euo pipefail
cd "$(dirname "$0")/.."

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
i686-w64-mingw32-gcc -O1 -Wall -o "$out/record_reference.exe" tests/font/reference/record_reference.c -lgdi32
tools/wine-run.sh "$out/record_reference.exe" >"$out/table.txt"
# The program prints CRLF line ends; the table is kept with plain ones.
tr -d '\r' <"$out/table.txt" >tests/font/gdi-reference.txt
echo "recorded $(grep -c '^E' tests/font/gdi-reference.txt) extents and" \
     "$(grep -c '^P' tests/font/gdi-reference.txt) placements into tests/font/gdi-reference.txt"
