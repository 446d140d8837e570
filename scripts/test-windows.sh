#!/usr/bin/env bash
# Builds for Windows (scripts/build-windows.sh) and runs the Windows tests under Wine on a
# private Xvfb display, in the Wine prefix build-win32/wine-prefix (made on the first run).
# Called by scripts/test.sh; extra arguments go to ctest (e.g. -R Win32.images).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh
echo "== Windows tests under Wine (build-win32)"
exec tests/win32/wine-session.sh build-win32/wine-prefix \
  ctest --test-dir build-win32 -j "${QG_JOBS:-2}" --output-on-failure "$@"
