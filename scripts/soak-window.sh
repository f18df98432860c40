#!/usr/bin/env bash
# The real executable's soak: the game under X driven by random xdotool input (keys, clicks,
# drags, the focus moved to another window and back, F11) for a while, its resident memory read
# every 10 s, and its state file checked at each reading. Fails when the memory grows by more
# than 2 MB after the first minute (compared within each window mode, both seen in that minute),
# when a state file is present that does not load back to itself, when a damaged copy appears,
# or when the game reports an error or ends early.
#
#   scripts/soak-window.sh [SECONDS] [--seed N] [--bin GAME] [--replay FLOEWARD-REPLAY] [--own-display]
#                          [--max-growth KB|off]
# SECONDS is 600 by default. Without --bin, the Release build in build-release is made and used
# (with its floeward-replay, which loads the state file to check it). With no DISPLAY, or with
# --own-display, it starts an X server of its own. Sound goes to a wave file. --max-growth
# changes the 2048 KB allowed, or only reports the memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

seconds=600 seed=$(date +%s) bin= replay= own_display= max_growth_kb=2048
while [[ $# -gt 0 ]]; do
    case "$1" in
        --seed) seed=$2; shift 2 ;;
        --max-growth) max_growth_kb=$2; shift 2 ;;
        --bin) bin=$2; shift 2 ;;
        --replay) replay=$2; shift 2 ;;
        --own-display) own_display=1; shift ;;
        [0-9]*) seconds=$1; shift ;;
        *) sed -n '9,14p' "$0" >&2; exit 1 ;;
    esac
done

# Readings every 10 s; growth counts from the first minute.
readonly sample_every=10 warm_up=60
# Keys of every action but back, and keys of none. Back (Escape, BackSpace, Delete, grave) and
# F4 end the program on the title screen; so do O and L once the options have turned the iCade
# on, where they are its back buttons. The script cannot see which screen is up, so it never
# presses them.
readonly keys=(Left Right Up Down w a s d j z space Return k x Control_L c Shift_L v i u b n
               F1 F2 q e r t y f g h m p 1 5 9 Tab Home)

if [[ -z "$bin" ]]; then
    "$root/scripts/install-deps.sh" --test
    cmake -S "$root" -B "$root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLOEWARD_TESTS=OFF >/dev/null
    cmake --build "$root/build-release" --target floeward floeward_replay_tool
    bin=$root/build-release/floeward
    replay=$root/build-release/tools/replay/floeward-replay
fi
[[ -x "$bin" && -x "$replay" ]] || { echo "soak-window: no game or no floeward-replay to run" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/floeward-soak-window.XXXXXX")
game_pid= other_pid= xvfb_pid=
cleanup() {
    for pid in $game_pid $other_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
fail() {
    echo "soak-window: FAILED: $*"
    echo "  the game's last lines:"
    tail -n 30 "$work/game.log" | sed 's/^/    /'
    exit 2
}

if [[ -z "${DISPLAY:-}" || -n "$own_display" ]]; then
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
    [[ -s "$work/display" ]] || { cat "$work/xvfb.log"; echo "soak-window: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(cat "$work/display")
fi

# OpenAL Soft records the game's mix into a file instead of needing a sound card.
cat >"$work/alsoft.conf" <<EOF
[general]
drivers = wave
channels = stereo
sample-type = int16
frequency = 44100
[wave]
file = $work/mix.wav
EOF
mkdir "$work/game"
# glibc's mmap threshold is held at 128 KB: left to adjust itself, it rises after the first
# full-screen switch and the pictures of each later one stay in the heap once freed, so that the
# resident size follows the order of the switches rather than what the game holds.
(cd "$work/game" && GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072 ALSOFT_CONF=$work/alsoft.conf \
    LIBGL_ALWAYS_SOFTWARE=1 exec "$bin" >"$work/game.log" 2>&1) &
game_pid=$!

# The game's window now: its id changes each time F11 opens it again.
window=
find_window() {
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --name '^Floeward$' 2>/dev/null | tail -n 1 || true)
        [[ -n "$window" ]] && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended"
        sleep 0.1
    done
    fail "no game window"
}
focus() {
    for _ in $(seq 50); do
        xdotool windowfocus "$1" 2>/dev/null || true
        [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] && return 0
        sleep 0.1
    done
    return 1
}
# Gives the game's window the focus, looking it up again after a failed try.
focus_game() {
    [[ -n "$window" ]] || find_window
    for _ in $(seq 100); do
        xdotool windowfocus "$window" 2>/dev/null || true
        [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$window" ]] && return 0
        sleep 0.1
        find_window
    done
    fail "the game's window does not take the focus"
}
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null || echo 'WIDTH=640 HEIGHT=480 X=0 Y=0')"
}
focus_game
display_width=$(xdotool getdisplaygeometry | cut -d' ' -f1)
(cd "$work" && exec xmessage -geometry 300x80+10+10 "Another window") >/dev/null 2>&1 &
other_pid=$!
other=
for _ in $(seq 100); do
    other=$(xdotool search --class xmessage 2>/dev/null | head -n 1 || true)
    [[ -n "$other" ]] && break
    sleep 0.1
done
[[ -n "$other" ]] || fail "the other window did not open"
focus_game

# A present state file must be what a save writes: the game's fields, valid UTF-8, and loaded by
# the game (floeward-replay) it must save back byte for byte; no damaged copy may be kept.
state_checks=0
check_state() {
    local state=$work/game/.zembrastate
    [[ -e "$work/game/.zembrastate.damaged" ]] && fail "the game kept a damaged state file"
    [[ -e "$state" ]] || return 0
    cp "$state" "$work/state" 2>/dev/null || return 0
    cp "$work/state" "$work/state.saved"
    iconv -f UTF-8 -t UTF-8 "$work/state" >/dev/null 2>&1 || fail "the state file is not UTF-8"
    grep -Eq '^(-?[0-9]+\|){455}$' "$work/state" || fail "the state file does not have the shape of a save: $(head -c 200 "$work/state")"
    printf 'until loaded\nfocus off\nfocus on\n' >"$work/load.txt"
    "$replay" "$work/load.txt" --state "$work/state.saved" >/dev/null 2>"$work/load.log" ||
        fail "floeward-replay cannot load the state file: $(tail -n 3 "$work/load.log")"
    grep -q "Checksum Invalid" "$work/load.log" && fail "the state file fails a checksum: $(grep Invalid "$work/load.log")"
    cmp -s "$work/state" "$work/state.saved" || fail "the state file does not load back to the same values"
    state_checks=$((state_checks + 1))
}

RANDOM=$seed
declare -A done_count=([keys]=0 [clicks]=0 [drags]=0 [focus]=0 [full]=0)
# At 15 s full screen (1), at 35 s a window (0), each read there.
forced=(15:1 35:0)
# Each window mode holds its own detail level of pictures, so readings are kept by mode. What
# is on screen moves a reading by a few MB either way (the software renderer keeps what it
# needed for the busiest picture), so growth is the median of a mode's readings in the last
# third of the run against its median in the first minute.
declare -A early=([window]="" [full]="") late=([window]="" [full]="")
rss_at_warm_up= rss_last=0 rss_peak_after=0 next_sample=$sample_every last_switch=-100
log_rss() {
    # Not while the pictures of a new window mode are still loading.
    local since=$((SECONDS - start - last_switch))
    (( since < 5 )) && sleep $((5 - since))
    geometry
    local mode=window
    (( WIDTH >= display_width )) && mode=full
    rss_last=$(awk '/^VmRSS/ {print $2}' "/proc/$game_pid/status" 2>/dev/null || echo 0)
    printf 'soak-window: %4d s  VmRSS %d KB  (%s)\n' "$1" "$rss_last" "$mode"
    (( $1 <= warm_up )) && early[$mode]+=" $rss_last"
    (( $1 >= seconds - seconds / 3 )) && late[$mode]+=" $rss_last"
    if (( $1 >= warm_up )); then
        [[ -z "$rss_at_warm_up" ]] && rss_at_warm_up="$rss_last KB ($mode)"
        (( rss_last > rss_peak_after )) && rss_peak_after=$rss_last
    fi
    return 0
}
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : 0}'; }

full_screen_switch() {
    geometry
    local was_full=$((WIDTH >= display_width)) id
    xdotool key F11 2>/dev/null || true
    last_switch=$((SECONDS - start))
    for _ in $(seq 200); do
        sleep 0.1
        for id in $(xdotool search --onlyvisible --name '^Floeward$' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null || echo WIDTH=0)"
            if (( (WIDTH >= display_width) != was_full )); then
                window=$id
                focus_game
                done_count[full]=$((done_count[full] + 1))
                return 0
            fi
        done
    done
    fail "F11 did not switch the window mode"
}

random_point() {
    geometry
    x=$((RANDOM % (WIDTH > 0 ? WIDTH : 1)))
    y=$((RANDOM % (HEIGHT > 0 ? HEIGHT : 1)))
    # The pause button sits in the top left corner.
    if (( RANDOM % 5 == 0 )); then x=$((RANDOM % 48)); y=$((RANDOM % 48)); fi
}

echo "soak-window: seed $seed, $seconds s, display $DISPLAY, game $bin"
start=$SECONDS
# A level first, from the title of a first start: its tune, decoded once and kept from then on
# (11 MB), would otherwise count as growth whenever the random input first starts a level. The
# first press after start-up goes unanswered; a second one in the level uses a skill.
for _ in 1 2; do
    sleep 3
    xdotool key Return 2>/dev/null || true
done
sleep 2
while :; do
    elapsed=$((SECONDS - start))
    if (( elapsed >= next_sample || elapsed >= seconds )); then
        log_rss "$elapsed"
        check_state
        next_sample=$((elapsed - elapsed % sample_every + sample_every))
    fi
    (( elapsed >= seconds )) && break
    kill -0 "$game_pid" 2>/dev/null || { wait "$game_pid" && status=0 || status=$?; fail "the game ended with status $status"; }
    # Both window modes are read within the first minute, to compare later readings with.
    if (( ${#forced[@]} > 0 )) && (( elapsed >= ${forced[0]%:*} )); then
        geometry
        want=${forced[0]#*:}
        forced=("${forced[@]:1}")
        [[ $((WIDTH >= display_width)) == "$want" ]] || full_screen_switch
        log_rss "$((SECONDS - start))"
        check_state
        continue
    fi
    roll=$((RANDOM % 100))
    if (( roll < 45 )); then
        key=${keys[RANDOM % ${#keys[@]}]}
        if (( RANDOM % 4 == 0 )); then
            xdotool keydown "$key" sleep "0.$((RANDOM % 9 + 1))" keyup "$key" 2>/dev/null || true
        else
            xdotool key "$key" 2>/dev/null || true
        fi
        done_count[keys]=$((done_count[keys] + 1))
    elif (( roll < 75 )); then
        random_point
        xdotool mousemove --window "$window" "$x" "$y" click $((RANDOM % 3 + 1)) 2>/dev/null || true
        done_count[clicks]=$((done_count[clicks] + 1))
    elif (( roll < 90 )); then
        random_point
        moves=(mousemove --window "$window" "$x" "$y" mousedown 1)
        for _ in $(seq $((RANDOM % 6 + 2))); do
            random_point
            moves+=(sleep 0.03 mousemove --window "$window" "$x" "$y")
        done
        xdotool "${moves[@]}" mouseup 1 2>/dev/null || true
        done_count[drags]=$((done_count[drags] + 1))
    elif (( roll < 97 )); then
        focus "$other" || true
        sleep "$((RANDOM % 3)).$((RANDOM % 10))"
        focus_game
        done_count[focus]=$((done_count[focus] + 1))
    else
        full_screen_switch
    fi
    sleep "0.$((RANDOM % 4))$((RANDOM % 10))"
done

# F4 ends the game at once with status 0.
for _ in 1 2 3; do
    focus_game
    xdotool key F4 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null || break
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end on F4"
wait "$game_pid" && status=0 || status=$?
game_pid=
(( status == 0 )) || fail "the game ended with status $status on F4"
grep -Eq "Runtime Error|Sanitizer|runtime error:" "$work/game.log" && fail "the game reported an error"

echo "soak-window: ${done_count[keys]} keys, ${done_count[clicks]} clicks, ${done_count[drags]} drags," \
     "${done_count[focus]} focus changes, ${done_count[full]} full-screen switches; state file checked $state_checks times"
echo "soak-window: VmRSS ${rss_at_warm_up:-?} at ${warm_up} s, $rss_last KB at the end," \
     "$rss_peak_after KB at most after the first minute"
growth=0
for mode in window full; do
    [[ -n "${late[$mode]}" ]] || continue
    [[ -n "${early[$mode]}" ]] || fail "no reading in $mode mode within the first minute to compare with"
    first=$(median "${early[$mode]}") last=$(median "${late[$mode]}")
    echo "soak-window: $mode mode: median $first KB in the first minute, $last KB in the last third:" \
         "growth $((last - first)) KB"
    (( last - first > growth )) && growth=$((last - first))
done
if [[ "$max_growth_kb" != off ]] && (( growth > max_growth_kb )); then
    fail "resident memory grew by $growth KB after the first minute (at most $max_growth_kb)"
fi
echo "soak-window: passed"
