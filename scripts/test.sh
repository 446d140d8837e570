#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build (build/) and
# the AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/); a short fuzz run
# (scripts/fuzz.sh --smoke); then the Windows build under Wine (scripts/test-windows.sh:
# 32-bit, or 64-bit where this machine cannot run 32-bit programs), unless
# QG_SKIP_WINDOWS=1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

scripts/build.sh build
scripts/build.sh build-asan -DQG_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for dir in build build-asan; do
  echo "== tests in $dir"
  (cd "$dir" && ctest -j "${QG_JOBS:-2}" --output-on-failure) || status=1
done
# A short run of each fuzz target (clang, in build-fuzz/): the seeds and past findings
# replayed, then a few seconds of fuzzing. QG_SKIP_FUZZ=1 leaves it out.
if [ -z "${QG_SKIP_FUZZ:-}" ]; then
  echo "== fuzz smoke run"
  scripts/fuzz.sh --smoke || status=1
fi
if [ -n "${QG_SKIP_WINDOWS:-}" ]; then
  echo "== Windows tests skipped: QG_SKIP_WINDOWS is set"
else
  scripts/test-windows.sh || status=1
fi
exit $status
