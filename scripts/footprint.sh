#!/usr/bin/env bash
# What a player waits for and what the game holds, measured on the real executable beside the
# peer a Linux player would install instead (Debian's pingus), in one run on one X server:
# launch to mapped window, launch to first picture, and the anonymous memory (RssAnon) on the
# title screen. The medians of RUNS launches each, the two programs taking turns. Without the
# peer installed its column is left out.
#
#   scripts/footprint.sh [--runs N] [--settle SECONDS] [--bin GAME] [--peer COMMAND|none] [--smaps]
#                        [--timeline]
#
# RUNS is 5 and SECONDS 4 (memory is read that long after the window was mapped). Without --bin,
# the Release build in build-release is made and used. --smaps adds where the game's anonymous
# memory lies, mapping by mapping, from its last run. --timeline adds one more launch of the game
# under strace and says when it opened what marks each stage of its start (strace slows it).
# The X server is always one of our own (Xvfb, black root), so the first window mapped is the
# program's. No sound card is needed: the game's OpenAL mixes into its null backend and the
# peer's SDL into its dummy driver.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

runs=5 settle=4 bin= peer= smaps= timeline=
while [[ $# -gt 0 ]]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --settle) settle=$2; shift 2 ;;
        --bin) bin=$2; shift 2 ;;
        --peer) peer=$2; shift 2 ;;
        --smaps) smaps=1; shift ;;
        --timeline) timeline=1; shift ;;
        *) sed -n '8,17p' "$0" >&2; exit 1 ;;
    esac
done

build=$root/build-release
if [[ -z "$bin" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLOEWARD_TESTS=OFF >/dev/null
    cmake --build "$build" --target floeward floeward_footprint_tool
    bin=$build/floeward
else
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLOEWARD_TESTS=OFF >/dev/null
    cmake --build "$build" --target floeward_footprint_tool
fi
measure=$build/tools/footprint/floeward-footprint
[[ -x "$bin" && -x "$measure" ]] || { echo "footprint: no game or no floeward-footprint to run" >&2; exit 1; }
bin=$(cd "$(dirname "$bin")" && pwd)/$(basename "$bin")

if [[ -z "$peer" ]]; then
    peer=$(command -v pingus || true)
    [[ -z "$peer" && -x /usr/games/pingus ]] && peer=/usr/games/pingus
elif [[ "$peer" == none ]]; then
    peer=
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/floeward-footprint.XXXXXX")
xvfb_pid=
cleanup() {
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

Xvfb -displayfd 3 -screen 0 1920x1080x24 -br -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { cat "$work/xvfb.log"; echo "footprint: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")

# Each program starts from nothing saved: the game's state file lies in its working folder, the
# peer's settings in its home.
run_game() {
    rm -rf "$work/game" && mkdir -p "$work/game"
    (cd "$work/game" && ALSOFT_DRIVERS=null "$measure" --settle "$settle" ${smaps:+--smaps} \
        --log "$work/game.log" -- "$bin") >"$work/game.$1"
}
run_peer() {
    rm -rf "$work/peer" && mkdir -p "$work/peer"
    (cd "$work/peer" && HOME=$work/peer SDL_AUDIODRIVER=dummy "$measure" --settle "$settle" \
        --log "$work/peer.log" -- "$peer") >"$work/peer.$1"
}

for ((i = 1; i <= runs; ++i)); do
    run_game "$i" || { cat "$work/game.log"; echo "footprint: the game did not run" >&2; exit 2; }
    if [[ -n "$peer" ]]; then
        run_peer "$i" || { cat "$work/peer.log"; echo "footprint: the peer did not run" >&2; exit 2; }
    fi
done

# The median of one figure over the runs of one program.
median() {
    local who=$1 name=$2
    cat "$work/$who".* | awk -v name="$name" '$1 == name { print $2 }' | sort -n |
        awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
row() {
    local label=$1 name=$2 scale=$3 unit=$4
    local game peer_value=
    game=$(median game "$name")
    printf '%-34s %12s' "$label ($unit)" "$(awk -v v="$game" -v s="$scale" 'BEGIN { printf "%.*f", (s == 1 ? 0 : 1), v / s }')"
    if [[ -n "$peer" ]]; then
        peer_value=$(median peer "$name")
        printf ' %12s' "$(awk -v v="$peer_value" -v s="$scale" 'BEGIN { printf "%.*f", (s == 1 ? 0 : 1), v / s }')"
    fi
    printf '\n'
}

echo "footprint: medians of $runs launches each on $DISPLAY (Xvfb), memory read ${settle} s after the window was mapped"
printf '%-34s %12s' "figure" "Floeward"
[[ -n "$peer" ]] && printf ' %12s' "$(basename "$peer")"
printf '\n'
row "launch to mapped window" mapped_ms 1 ms
row "launch to first picture" picture_ms 1 ms
row "anonymous memory (RssAnon)" rss_anon_kb 1024 MB
row "resident memory (VmRSS)" rss_kb 1024 MB
row "threads" threads 1 count
if [[ -n "$smaps" ]]; then
    echo
    echo "the game's anonymous memory by mapping (its last run):"
    grep '^smaps' "$work/game.$runs" | sed 's/^smaps //'
fi
if [[ -n "$timeline" ]]; then
    command -v strace >/dev/null || { echo "footprint: --timeline needs strace" >&2; exit 1; }
    rm -rf "$work/game" && mkdir -p "$work/game"
    (cd "$work/game" && ALSOFT_DRIVERS=null "$measure" --settle 2 --log "$work/timeline.log" -- \
        strace -f -ttt --seccomp-bpf -e trace=execve,openat -e signal=none -o "$work/strace.txt" "$bin") \
        >"$work/timeline.measured"
    echo
    echo "the game's start, one launch under strace (ms from its start):"
    awk -v data="$(dirname "$bin")/data/" '
        { t = $2 * 1000; if (!start) start = t; line = $0 }
        function at(label) { if (!(label in seen)) { seen[label] = 1; printf "  %7.0f  %s\n", t - start, label } }
        line ~ /_dri\.so"/ && line !~ /ENOENT/ { at("the OpenGL driver loads: its context is being made") }
        line ~ /alsoft\.conf"/ { at("the sound device opens") }
        index(line, data) && line ~ /\.png"/ && !png { png = 1; at("the first picture file is read: the context is made, the game starts") }
        index(line, data) && line ~ /\.wav"/ { at("the first sound file is read: the first update, the first step of the loader") }
        index(line, data) && line ~ /\/logo\.png"/ { last = t }
        END { if (last) printf "  %7.0f  %s\n", last - start, "the logo of the title is read for the last time" }
    ' "$work/strace.txt"
    sed 's/^/  /' "$work/timeline.measured" | grep -E 'mapped_ms|picture_ms'
fi
