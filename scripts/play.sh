#!/usr/bin/env bash
# Installs what is missing, builds the Release game and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLOEWARD_TESTS=OFF
cmake --build "$root/build-release"
exec "$root/build-release/floeward"
