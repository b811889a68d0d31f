#!/usr/bin/env bash
# Installs what is needed, builds everything (the benchmarks too) and runs every test.
#   scripts/test.sh                   the normal build, in build/
#   scripts/test.sh --sanitize        the same with AddressSanitizer, UndefinedBehaviorSanitizer
#                                     and leak detection, in build-asan/; any report fails its test
#   scripts/test.sh --sanitize-core   the tests of the readers and the engine only (the
#                                     programs of SANITIZED_TESTS), built with clang and the
#                                     same sanitizers in the fuzz build, build-fuzz/, which
#                                     scripts/fuzz-smoke.sh then reuses: the core is compiled
#                                     once for both; any report fails the run
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build
ASAN=OFF
CORE_ONLY=0
# The test programs of the readers, the engine and what they stand on: the code that
# takes files and commands from outside. The window programs stay out (slow under the
# sanitizers, and their code reads nothing the core has not checked).
SANITIZED_TESTS=(test_platform test_foundation test_semantics test_engine test_imaging)
case "${1:-}" in
    "") ;;
    --sanitize) BUILD=build-asan; ASAN=ON ;;
    --sanitize-core) BUILD=build-fuzz; ASAN=ON; CORE_ONLY=1 ;;
    *) echo "usage: scripts/test.sh [--sanitize | --sanitize-core]" >&2; exit 2 ;;
esac
bash scripts/deps.sh
if [ "$ASAN" = ON ]; then
    # Leaks count as failures; the suppressions name only frames of the libraries under us.
    export ASAN_OPTIONS="detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=0"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
if [ "$CORE_ONLY" = 1 ]; then
    # Clang's undefined-behaviour checks (float to integer overflow among them) are
    # recoverable there: UBSAN_OPTIONS above halts on the first.
    bash scripts/fuzz-configure.sh
    cmake --build "$BUILD" --target "${SANITIZED_TESTS[@]}"
    # Each program runs whole, once, as many at a time as there are cores; a sanitizer
    # report ends its program with a failure, and any failure fails the run. The output
    # of a failed program is shown whole.
    export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
    logs=$(mktemp -d)
    running=0
    for t in "${SANITIZED_TESTS[@]}"; do
        if [ "$running" -ge "$(nproc)" ]; then
            wait -n || true
            running=$((running - 1))
        fi
        (
            cd "$BUILD"
            # A program that hangs fails like one that reports.
            rc=0
            timeout 1800 "tests/$t" --gtest_brief=1 >"$logs/$t.log" 2>&1 || rc=$?
            echo "$rc" >"$logs/$t.rc"
        ) &
        running=$((running + 1))
    done
    wait
    status=0
    for t in "${SANITIZED_TESTS[@]}"; do
        if [ "$(cat "$logs/$t.rc" 2>/dev/null || echo 1)" != 0 ]; then
            echo "!! $t failed under the sanitizers:" >&2
            cat "$logs/$t.log" >&2
            status=1
        else
            echo "== $t: $(grep -E '^\[  PASSED  \]' "$logs/$t.log" || echo passed)"
        fi
    done
    rm -rf "$logs"
    exit $status
fi
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_ASAN=$ASAN
cmake --build "$BUILD"
(
    cd "$BUILD"
    # No test may hang the run: one that takes over ten minutes counts as failed. Besides every
    # test on its own, each test program runs once whole with every test twice in a shuffled
    # order ("*.RepeatedShuffled"), so a test that leaves state behind fails.
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
)
# The program folder of the build holds only what the build puts there.
if [ -f scripts/check-clean-bin.sh ]; then
    bash scripts/check-clean-bin.sh "$BUILD"
fi
