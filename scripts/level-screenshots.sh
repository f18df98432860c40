#!/usr/bin/env bash
# Takes a picture of each of the fifteen levels shortly after its start, in the real game's
# 640×480 window, into docs/levels/01.png to 15.png (docs/LEVELS.md links them); given level
# numbers, only those. The levels are opened by the progress that the stored solutions in levels/
# leave. Builds a Release game of its own in build-screenshots/, as scripts/screenshots.sh does,
# and runs under an X server of its own when no display is set.
#   scripts/level-screenshots.sh          all fifteen
#   scripts/level-screenshots.sh 7 12     levels 7 and 12
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-screenshots"
out="$root/docs/levels"
"$root/scripts/install-deps.sh" --test

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target e2e_level_screenshots

# Taken into a folder of their own first, so that a failed run leaves the pictures as they were.
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
# Mesa's software rasteriser stands in for a graphics card.
export LIBGL_ALWAYS_SOFTWARE=1
take=(env "FLOEWARD_LEVEL_SCREENSHOTS=$shots" "FLOEWARD_LEVELS=$*" "$build/tests/e2e_level_screenshots")
if [[ -n "${DISPLAY:-}" ]]; then
    "${take[@]}"
else
    xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "${take[@]}"
fi

# A level's picture holds a few thousand colours, nearly all of them in the snow and the sky's
# blend with it: 256 of them look the same and keep each file near a third of its size.
mkdir -p "$out"
for shot in "$shots"/*.png; do
    convert "$shot" -strip +dither -colors 256 "PNG8:$out/$(basename "$shot")"
done
echo "Level screenshots in $out:"
ls -l "$out"
