#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the sanitizers (build-fuzz/) and runs
# each for its share of SECONDS (default 60) in all, from its seed corpus and its past
# findings, with a per-input timeout and a memory limit. Fails on any finding; the
# crashing input is left in build-fuzz/findings/<target>/.
#   scripts/fuzz-smoke.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
TOTAL=${1:-60}
BUILD=build-fuzz
bash scripts/fuzz-configure.sh >/dev/null
targets=()
for f in fuzz/targets/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
cmake --build "$BUILD" -j"${JOBS:-4}" --target "${targets[@]/#/fuzz_}"
share=$(( TOTAL / ${#targets[@]} ))
[ "$share" -lt 1 ] && share=1
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# The leaks of the libraries under us that test.sh ignores are ignored here too.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
status=0
for t in "${targets[@]}"; do
    # Absolute: the targets change the current folder before libFuzzer reads the corpus.
    corpus="$PWD/$BUILD/corpus/$t"
    findings="$BUILD/findings/$t"
    mkdir -p "$corpus" "$findings"
    # The seeds the normal build lists for the driver, copied in on first use.
    if [ -f "$BUILD/fuzz/$t.seeds" ]; then
        while IFS= read -r seed; do [ -n "$seed" ] && cp -rn "$seed" "$corpus/" 2>/dev/null || true; done <"$BUILD/fuzz/$t.seeds"
    fi
    dirs=("$corpus")
    [ -d "fuzz/regressions/$t" ] && dirs+=("$PWD/fuzz/regressions/$t")
    dict=()
    [ -f "fuzz/dictionaries/$t.dict" ] && dict=(-dict="$PWD/fuzz/dictionaries/$t.dict")
    echo "== $t: ${share}s"
    if ! "$BUILD/fuzz/fuzz_$t" "${dict[@]}" -max_total_time="$share" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$PWD/$findings/" -print_final_stats=1 "${dirs[@]}"; then
        echo "!! $t: finding in $findings" >&2
        status=1
    fi
done
exit $status
