#!/usr/bin/env bash
# Writes the fuzz targets' seed corpora into tests/fuzz/seeds/ (jpeg/, window/, messages/)
# with the seed generator, make_seeds.cpp, built in build-fuzz/ as scripts/fuzz.sh builds.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G "Unix Makefiles" -DQG_FUZZ=ON -DQG_BUILD_TESTS=OFF \
  -DQG_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "${QG_JOBS:-2}" --target fuzz_seeds >/dev/null
rm -rf tests/fuzz/seeds
mkdir -p tests/fuzz/seeds/jpeg tests/fuzz/seeds/window tests/fuzz/seeds/messages
build-fuzz/tests/fuzz/fuzz_seeds tests/fuzz/seeds
echo "seed files: $(find tests/fuzz/seeds -type f | wc -l)"
