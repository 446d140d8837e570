#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh <folder> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
# ccache keyed on paths relative to the checkout: a fresh clone elsewhere (as CI makes)
# reuses what an earlier build of the same sources compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
cmake -S . -B "$dir" -G "Unix Makefiles" "$@" >/dev/null
cmake --build "$dir" -j "${QG_JOBS:-2}"
