#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quen's Zarn from build/zarn/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
cd build/zarn
exec ./zarn
