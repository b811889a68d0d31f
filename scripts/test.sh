#!/usr/bin/env bash
# Installs what is needed, builds everything (the benchmarks too) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
cd build
# No test may hang the run: one that takes over ten minutes counts as failed. Besides every
# test on its own, each test program runs once whole with every test twice in a shuffled
# order ("*.RepeatedShuffled"), so a test that leaves state behind fails.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
