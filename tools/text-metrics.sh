#!/usr/bin/env bash
# Prints what real GDI (under Wine, with the Liberation fonts standing in for Arial,
# Times New Roman and Courier New) reports for a font and strings:
#   tools/text-metrics.sh FACE HEIGHT WEIGHT [--italic] [--family N] STRING...
#   e.g. tools/text-metrics.sh Arial 20 700 "MISSLE COUNT:" 123
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${QG_ORACLE_BUILD:-build-oracle}/text_metrics.exe
mkdir -p "$(dirname "$exe")"
if [ ! -f "$exe" ] || [ tools/wine/text_metrics.c -nt "$exe" ]; then
  i686-w64-mingw32-gcc -O1 -Wall -Wextra -o "$exe" tools/wine/text_metrics.c -lgdi32
fi
# Wine prints CRLF line ends.
tools/wine-run.sh "$exe" "$@" | tr -d '\r'
