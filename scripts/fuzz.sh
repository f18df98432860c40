#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each for a time budget:  scripts/fuzz.sh [SECONDS [TARGET...]]  (600 s, every target).
# An input that fails a target is kept in fuzz/regressions/<target>/, so every later test run
# replays it. FLOEWARD_FUZZ_BUILD names the build folder (build-fuzz by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
seconds=${1:-600}
shift || true
build=${FLOEWARD_FUZZ_BUILD:-$root/build-fuzz}
"$root/scripts/install-deps.sh" --test

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

if [[ $# -gt 0 ]]; then
    fuzzers="$*"
else
    fuzzers=$(cd "$root/fuzz" && ls *_fuzz.cpp | sed 's/\.cpp$//')
fi
echo "== Fuzzing, ${seconds}s a target"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DFLOEWARD_SANITIZE=ON -DFLOEWARD_TESTS=OFF -DFLOEWARD_FUZZ=ON
cmake --build "$build" -j "$jobs" --target fuzz_seed_corpus $fuzzers
# Starting inputs go into the corpus folders, which keep what each run found for the next.
"$build/fuzz/fuzz_seed_corpus" "$build/corpus"
for f in $fuzzers; do
    regressions="$root/fuzz/regressions/$f"
    corpus="$build/corpus/$f"
    mkdir -p "$regressions" "$corpus"
    log="$build/$f.log"
    if ! (cd "$build" && "./fuzz/$f" -max_total_time="$seconds" -artifact_prefix="$regressions/" \
            "$corpus" "$regressions") > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "$f found a failing input; it is kept in $regressions"
        exit 1
    fi
    echo "$f: $(grep -o 'Done [0-9]* runs' "$log"), nothing found"
done
