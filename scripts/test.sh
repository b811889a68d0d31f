#!/usr/bin/env bash
# Installs what is needed, builds everything (the benchmarks too) and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   the same with AddressSanitizer, UndefinedBehaviorSanitizer
#                                and leak detection, in build-asan/; any report fails its test
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build
ASAN=OFF
case "${1:-}" in
    "") ;;
    --sanitize) BUILD=build-asan; ASAN=ON ;;
    *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
esac
bash scripts/deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_ASAN=$ASAN
cmake --build "$BUILD"
if [ "$ASAN" = ON ]; then
    # Leaks count as failures; the suppressions name only frames of the libraries under us.
    export ASAN_OPTIONS="detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=0"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
cd "$BUILD"
# No test may hang the run: one that takes over ten minutes counts as failed. Besides every
# test on its own, each test program runs once whole with every test twice in a shuffled
# order ("*.RepeatedShuffled"), so a test that leaves state behind fails.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
