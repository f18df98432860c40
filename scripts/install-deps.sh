#!/usr/bin/env bash
# Installs the Debian packages that building and packaging (and, with --test, testing) Floeward need,
# only those that are missing, through sudo when not root.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libglfw3-dev libgl-dev libgl1-mesa-dri libopenal-dev libopenal1
          libstb-dev libvorbis-dev dpkg-dev file)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils libx11-dev
               clang-14 libclang-rt-14-dev imagemagick
               desktop-file-utils appstream librsvg2-bin)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
