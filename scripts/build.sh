#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh <folder> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
cmake -S . -B "$dir" -G "Unix Makefiles" "$@" >/dev/null
cmake --build "$dir" -j "${QG_JOBS:-2}"
