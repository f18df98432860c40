#!/usr/bin/env bash
# Takes the README's screenshots of the real game in its 640×480 window: the title, level 1 in
# play with its HUD and keyboard hints, the pause panel, the end banner and level 1 started by
# mouse with its pointer hints, into docs/screenshots/. Builds a Release
# game of its own in build-screenshots/ and plays it as the end-to-end tests do, under an X server
# of its own when no display is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-screenshots"
out="$root/docs/screenshots"
"$root/scripts/install-deps.sh" --test

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target e2e_screenshots

# Mesa's software rasteriser stands in for a graphics card.
export LIBGL_ALWAYS_SOFTWARE=1
take=(env "FLOEWARD_SCREENSHOTS=$out" "$build/tests/e2e_screenshots")
if [[ -n "${DISPLAY:-}" ]]; then
    "${take[@]}"
else
    xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "${take[@]}"
fi
echo "Screenshots in $out:"
ls "$out"
