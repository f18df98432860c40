#!/usr/bin/env bash
# The headless soak for a longer budget: seeded random input on the game in the sanitizer build
# (AddressSanitizer and UndefinedBehaviorSanitizer), UPDATES a seed for every seed given.
# A seed that fails is added to tools/soak/regressions.txt, which every test run replays.
#
#   scripts/soak.sh [UPDATES] [SEEDS]    UPDATES 200000 by default; SEEDS such as 7 or 1-4,9,
#                                        one from the clock by default
#
# The build goes to build-test (FLOEWARD_SOAK_BUILD names another). The real executable's soak
# under X is scripts/soak-window.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
updates=${1:-200000}
seeds=${2:-$(date +%s)}
build=${FLOEWARD_SOAK_BUILD:-$root/build-test}
"$root/scripts/install-deps.sh" --test

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFLOEWARD_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target floeward_soak_tool
exec "$build/tools/soak/floeward-soak" --updates "$updates" --seeds "$seeds" \
    --regressions "$root/tools/soak/regressions.txt" --keep "$root/tools/soak/regressions.txt"
