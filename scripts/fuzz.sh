#!/usr/bin/env bash
# Builds the fuzz targets (clang: libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer;
# in build-fuzz/) and runs them one at a time:
#   scripts/fuzz.sh [seconds] [target...]   each target for seconds (default 60); targets
#                                           jpeg, window, messages (default all three)
#   scripts/fuzz.sh --smoke                 the test command's short run: the seeds and the
#                                           past findings replayed, then a fixed number of
#                                           inputs each from a fixed seed (QG_FUZZ_SMOKE_SEED),
#                                           so it judges alike on a fast and a slow machine
# Corpora grow in build-fuzz/corpus/<target>/; findings (the inputs, with the report in
# build-fuzz/fuzz-<target>.log) land in build-fuzz/findings/<target>/. Replay one with
# build-fuzz/tests/fuzz/fuzz_<target> <file> (QG_FUZZ_NOFORK=1 to run it under gdb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

seconds=60
smoke=0
if [ "${1:-}" = --smoke ]; then
  smoke=1
  seconds=${QG_FUZZ_SMOKE_SECONDS:-120} # a cap only: the smoke run counts inputs
  shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(jpeg window messages)

build=("${targets[@]/#/fuzz_}")
[ $smoke = 0 ] || build+=(fuzz_selfcheck)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G "Unix Makefiles" -DQG_FUZZ=ON -DQG_BUILD_TESTS=OFF \
  -DQG_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "${QG_JOBS:-2}" --target "${build[@]}" >/dev/null

# The sanitizers' settings are the targets' own (forked.cpp); the test command's are not
# meant for them.
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

status=0

# The harness's own check, in the smoke run: fuzz_selfcheck misbehaves in the way its
# input's first byte names; what the harness accepts must pass, what it reports must be
# reported as such.
if [ $smoke = 1 ]; then
  echo "== the harness's verdicts (fuzz_selfcheck)"
  check=build-fuzz/selfcheck
  rm -rf "$check"
  mkdir -p "$check"
  verdicts=("0:" "1:" "2:" "3:" "4:a sanitizer report" "5:a sanitizer report" "6:a sanitizer report"
            "7:leaked memory" "8:more than 1 s of CPU" "9:more than 5 s" "10:status other than 1"
            "11:a sanitizer report" "12:a sanitizer report" "13:a check failed")
  wrong=0
  for verdict in "${verdicts[@]}"; do
    case=${verdict%%:*}
    want=${verdict#*:}
    printf "\\$(printf %03o "$case")" >"$check/case-$case"
    result=0
    build-fuzz/tests/fuzz/fuzz_selfcheck -artifact_prefix="$check/" "$check/case-$case" \
      >"$check/case-$case.log" 2>&1 || result=$?
    if [ -z "$want" ]; then
      [ $result -eq 0 ] || { echo "   case $case: a finding where none was due ($check/case-$case.log)"; wrong=1; }
    elif [ $result -eq 0 ] || ! grep -a -q "FINDING: .*$want" "$check/case-$case.log"; then
      echo "   case $case: not reported as \"$want\" ($check/case-$case.log)"
      wrong=1
    fi
  done
  if [ $wrong = 0 ]; then echo "   ${#verdicts[@]} cases, each judged as it should be"; else status=1; fi
fi

for target in "${targets[@]}"; do
  case $target in
    jpeg) options=(-max_len=16384 -dict=tests/fuzz/jpeg.dict) runs=400 ;;
    window) options=(-max_len=4096) runs=60 ;;
    messages) options=(-max_len=4096) runs=150 ;;
    *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
  esac
  # The smoke run is the same inputs every time: what it finds, it finds on any machine.
  # Exploring belongs to the timed runs.
  if [ $smoke = 1 ]; then
    options+=(-seed="${QG_FUZZ_SMOKE_SEED:-1}" -runs="$runs")
    what="$runs inputs from seed ${QG_FUZZ_SMOKE_SEED:-1}"
  else
    what="$seconds s"
  fi
  corpus=build-fuzz/corpus/$target
  if [ $smoke = 1 ]; then
    corpus=build-fuzz/smoke-corpus/$target
    rm -rf "$corpus"
  fi
  findings=build-fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  inputs=("$corpus" tests/fuzz/seeds/$target)
  [ -d tests/fuzz/regressions/$target ] && inputs+=(tests/fuzz/regressions/$target)
  log=build-fuzz/fuzz-$target.log
  before=$(ls "$findings" | wc -l)

  echo "== fuzz_$target, $what"
  result=0
  build-fuzz/tests/fuzz/fuzz_$target "${options[@]}" -max_total_time="$seconds" -timeout=30 \
    -print_final_stats=1 -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || result=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(( $(ls "$findings" | wc -l) - before ))
  echo "   ${runs:-?} executions (${rate:-?}/s), corpus $(ls "$corpus" | wc -l) inputs, $found new findings"
  if [ $result -ne 0 ]; then
    status=1
    echo "   FINDING (exit status $result); the report, from $log:"
    # The child's report: its output's end, up to the verdict (the fuzzer's own abort after
    # it says nothing more).
    report=$(tr -d '\000' <"$log" | awk '/==qgfuzz== the child.s output/ {show = 1} show {print} /==qgfuzz== FINDING/ {exit}')
    [ -n "$report" ] || report=$(grep -a -E '==qgfuzz==|ERROR|SUMMARY|ALARM|runtime error' "$log" || true)
    printf '%s\n' "$report" | grep -a -v -E '^\s*$' | tail -40 | cut -c1-200 | sed 's/^/   | /' || true
    ls -t "$findings" | head -1 | sed "s|^|   input: $findings/|"
  fi
done
exit $status
