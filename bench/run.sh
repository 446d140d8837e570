#!/usr/bin/env bash
# Runs the benchmarks of build/bench/: the stand-in's queue, the library's read-back and
# buffer copy, and the game's start, frames and wait for a click on the headless backend;
# then the queue and the game on the sdl2 backend in a private Xvfb server. Build first
# (scripts/build.sh build).
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/bench/standin_bench
"$bench" --backend=headless "$@"
build/bench/library_bench "$@"
build/bench/game_bench --backend=headless "$@"

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
"$bench" --backend=sdl2 "$@"
build/bench/game_bench --backend=sdl2 "$@"
