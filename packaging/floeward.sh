#!/bin/sh
# Starts the installed game inside the player's data folder, so that its saved state (written to
# the working directory) lands there from wherever the game is started.
set -eu

# A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
case "${XDG_DATA_HOME:-}" in
    /*) base=$XDG_DATA_HOME ;;
    *)
        if [ -z "${HOME:-}" ]; then
            echo "floeward: neither HOME nor XDG_DATA_HOME is set, so there is no place for the saved progress" >&2
            exit 1
        fi
        base=$HOME/.local/share
        ;;
esac
dir=$base/floeward
# Only the folder of our own gets the private mode; missing parents get the usual one.
[ -d "$dir" ] || mkdir -p -m 0700 "$dir"

# The executable sits in lib/games/floeward beside the launcher's games folder, under one prefix.
here=$(dirname "$(readlink -f "$0")")
cd "$dir"
exec "$here/../lib/games/floeward/floeward" "$@"
