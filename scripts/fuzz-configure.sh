#!/usr/bin/env bash
# Configures build-fuzz/: clang with libFuzzer's coverage, AddressSanitizer,
# UndefinedBehaviorSanitizer and leak detection on everything. The fuzz targets
# (scripts/fuzz-smoke.sh) and the sanitized tests of the core (scripts/test.sh
# --sanitize-core) are built there from the same objects.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DVELMORA_FUZZ=ON -DVELMORA_TESTS=ON -DVELMORA_BENCH=OFF \
    -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER}
