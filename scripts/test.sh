#!/usr/bin/env bash
# Installs what is missing, builds the test build (AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test under an X server of its own when there is no display; then the
# networking tests under ThreadSanitizer and each fuzz target for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
fuzz_seconds=${FLOEWARD_FUZZ_SECONDS:-20}
"$root/scripts/install-deps.sh" --test

# The leak checker can crash at exit while Mesa tears down its thread-local state.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Mesa's software rasteriser stands in for a graphics card.
export LIBGL_ALWAYS_SOFTWARE=1

# -noreset: a server that resets when its last client leaves refuses the next one for a moment,
# and a test that starts the game right after another closed it would fail now and then.
with_display() {
    if [[ -n "${DISPLAY:-}" ]]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$@"
    fi
}

echo "== Sanitizer build and all tests"
cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFLOEWARD_SANITIZE=ON
cmake --build "$root/build-test" -j "$jobs"
with_display ctest --test-dir "$root/build-test" --output-on-failure -j "$jobs"

echo "== Networking under ThreadSanitizer"
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFLOEWARD_TSAN=ON
net_replays=$(cd "$root/fuzz" && ls net_*_fuzz.cpp | sed 's/\.cpp$/_replay/')
cmake --build "$root/build-tsan" -j "$jobs" --target test_net $net_replays
# A runtime error ends the process at once, leaving finished workers unjoined by design;
# the death tests of that path would otherwise count them as leaked threads.
TSAN_OPTIONS=halt_on_error=1:report_thread_leaks=0 \
    ctest --test-dir "$root/build-tsan" -L net --output-on-failure

"$root/scripts/fuzz.sh" "$fuzz_seconds"
echo "== All tests passed"
