#!/usr/bin/env bash
# Builds for Windows and runs the Windows tests under Wine on a private Xvfb display, in a
# Wine prefix inside the build folder (made on the first run). The 32-bit build where this
# machine can run 32-bit programs, else the 64-bit build under 64-bit Wine; without a Wine
# that runs, the tests are skipped with the reason. QG_WINDOWS_ARCH=win32|win64 chooses.
# Called by scripts/test.sh; extra arguments go to ctest (e.g. -R Win32.images).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source tools/wine-env.sh
qg_windows_arch
if [ -z "$qg_arch" ]; then
  echo "== Windows tests skipped: $qg_why"
  exit 0
fi
bits=${qg_arch#win}
scripts/build-windows.sh "--$bits"
echo "== Windows tests under $bits-bit Wine (build-win$bits): $qg_why"
export WINEARCH=$qg_arch
exec tests/win32/wine-session.sh "build-win$bits/wine-prefix" \
  ctest --test-dir "build-win$bits" -j "${QG_JOBS:-2}" --output-on-failure "$@"
