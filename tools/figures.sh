#!/usr/bin/env bash
# Prints Stonerush's figures, each measured in one run beside a baseline so the
# ratio holds on a noisy machine. A report, not a test: it never fails on a
# slow figure, only when something cannot be measured at all.
#
#   bash tools/figures.sh [BUILD_DIR]       (default build/release)
#   SOAK_SECONDS=60 bash tools/figures.sh   a shorter soak (default 600; 0 skips it)
#   REPS=5 WINDOW=6 bash tools/figures.sh   measuring windows per state, seconds each
#
# BUILD_DIR needs game/, bench/{minimal_window,map_timer,main_window_bench},
# tools/music_figures and tests/e2e/wayland_pointer; a folder without
# CMakeCache.txt is used as it is (a copy of an older build, to measure before
# and after a change).
#
# Launch: time from exec to the splash being mapped and RSS 1 s later, against
#   a minimal Qt window (bench/minimal_window), median of 7 alternate runs.
# States: the game as a player meets it: at the title, in play with music (a
#   key every 0.25 s), in play with the music off (Ctrl+M), paused, and after
#   game over; then at the title and in play with no sound server at all. For
#   each: CPU in % of one core (all threads, from /proc/PID/task/*/schedstat),
#   wake-ups per second (voluntary context switches of all threads), the sound
#   server's CPU, and the same for a minimal Qt window running beside it.
#   Medians of REPS windows of WINDOW seconds.
# Tick: the GUI thread's CPU per 30 ms tick in the running game, and
#   main_window_bench's warm micro-benchmark of the same work.
# RSS after 30 s of play; play() to first sound at the null sink (music_figures).
# Timer: interval mean and p99 over 300 ticks of the game's timer, against a
#   bare 30 ms precise QTimer run at the same time.
# Pad: the title, play and pause again with a pad plugged in (a FIFO of
#   input events where the game looks for pads), started and paused by it.
# Zoom: CPU and wake-ups at the title, in play (music on, keys) and paused at
#   the largest step the screen holds, zoomed in with Ctrl++, and in play at 1x.
# Soak: RSS growth over SOAK_SECONDS of play with random keys; games that end
#   are given a name and started again; the game must still be alive at the end.
#   Growth is counted from the end of the first game, once the name prompt
#   and a new game have been used once.
# Everything runs on a private Xvfb of 3840 x 2160 with a PulseAudio null sink;
# the game opens at 1x but for the zoom figures.
# Wayland (tools/figures-wayland.sh): launch, memory and the title, play and
# pause natively under a headless sway, beside the X11 figures of the run.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build/release}")
soak_seconds=${SOAK_SECONDS:-600}
reps=${REPS:-5}
window=${WINDOW:-6}

if [[ -f "$build/CMakeCache.txt" ]]; then
    cmake --build "$build" --target stonerush minimal_window map_timer main_window_bench music_figures wayland_pointer >/dev/null ||
        { echo "build failed"; exit 1; }
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-figures.XXXXXX")
source "$root/tests/e2e/session.sh"
source "$root/tests/e2e/game_views.sh"
source "$root/tools/process_figures.sh"
SCREEN_SIZE=3840x2160
start_session >/dev/null
# At 1x, as a player's earlier choice would keep it: a first start here would take 3x.
mkdir -p "$HOME/.config/stonerush"
printf '[General]\nzoom=1\n' >"$HOME/.config/stonerush/stonerush.conf"
FOLDER=$WORK/game
cp -r "$build/game" "$FOLDER"
baseline=$build/bench/minimal_window

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
thread_ns() { read -r ns _ <"/proc/$1/task/$1/schedstat" && echo "$ns"; }

echo "Stonerush figures ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), build $build)"

# --- launch -----------------------------------------------------------------
for run in 1 2 3 4 5 6 7; do
    "$build/bench/map_timer" 1000 "$FOLDER/stonerush" >>"$WORK/launch_game.txt" 2>>"$WORK/game.log"
    "$build/bench/map_timer" 1000 "$baseline" >>"$WORK/launch_base.txt" 2>/dev/null
done
game_ms=$(sed 's/launch_ms=\([0-9.]*\).*/\1/' "$WORK/launch_game.txt" | median)
base_ms=$(sed 's/launch_ms=\([0-9.]*\).*/\1/' "$WORK/launch_base.txt" | median)
game_rss=$(sed 's/.*rss_kb=//' "$WORK/launch_game.txt" | median)
base_rss=$(sed 's/.*rss_kb=//' "$WORK/launch_base.txt" | median)
echo
echo "Launch to splash mapped: $game_ms ms; minimal Qt window $base_ms ms; ratio $(ratio "$game_ms" "$base_ms") (target < 1.5)"
echo "RSS 1 s after start:     $((game_rss / 1024)) MB; minimal Qt window $((base_rss / 1024)) MB; ratio $(ratio "$game_rss" "$base_rss")"

# --- states -----------------------------------------------------------------
# measure NAME [keys]: REPS windows of WINDOW s; prints one line of medians.
measure() {
    local name=$1 keys=${2:-} rep keyer= g0 g1 b0 b1 p0 p1 t0 t1 m0 m1
    : >"$WORK/m.txt"
    if [[ -n $keys ]]; then
        wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
        "${PLAY_KEYS[@]}" &
        keyer=$!
    fi
    for ((rep = 0; rep < reps; rep++)); do
        g0=$(usage "$GAME_PID") b0=$(usage "$base_pid") p0=$(usage "$PULSE_PID") m0=$(thread_ns "$GAME_PID") t0=$(now_ms)
        sleep "$window"
        g1=$(usage "$GAME_PID") b1=$(usage "$base_pid") p1=$(usage "$PULSE_PID") m1=$(thread_ns "$GAME_PID") t1=$(now_ms)
        echo "$g0 $g1 $b0 $b1 $p0 $p1 $m0 $m1 $t0 $t1" >>"$WORK/m.txt"
    done
    if [[ -n $keyer ]]; then
        kill "$keyer" 2>/dev/null && wait "$keyer" 2>/dev/null
        "${LET_GO[@]}"
    fi
    local col
    for col in 1 2 3 4 5 6; do
        awk -v c="$col" '{
            ms = $16 - $15
            if (c == 1) v = ($3 - $1) / ms / 1e4; else if (c == 2) v = ($4 - $2) * 1000 / ms
            else if (c == 3) v = ($7 - $5) / ms / 1e4; else if (c == 4) v = ($8 - $6) * 1000 / ms
            else if (c == 5) v = ($11 - $9) / ms / 1e4; else v = ($14 - $13) / 1e3 / (ms / 30)
            printf "%.3f\n", v
        }' "$WORK/m.txt" | median >"$WORK/col$col"
    done
    printf "  %-26s %7.2f%% %8.1f/s %9.2f%% %9.2f%% %8.1f/s" "$name" "$(cat "$WORK/col1")" "$(cat "$WORK/col2")" \
        "$(cat "$WORK/col5")" "$(cat "$WORK/col3")" "$(cat "$WORK/col4")"
    cp -n "$WORK/col1" "$WORK/cpu ${WINDOWS:-X11} $name" # the first of a name: with the sound server
    [[ -n $keys ]] && printf "   GUI thread %.1f us/tick" "$(cat "$WORK/col6")"
    echo
}
# paused_shown: the playfield shows the paused picture at the zoom of the
# moment. Waited for after each PAUSE, so a figure called "paused" is never
# one of a game that goes on.
paused_shown() {
    [[ -f $WORK/paused_$Z.rgb ]] ||
        convert "$root/assets/playfield_paused.png" -scale $((100 * Z))% -depth 8 "rgb:$WORK/paused_$Z.rgb"
    field_shows "$WORK/paused_$Z.rgb"
}
# A key every 0.25 s in play: turns between moves that sweep the piece four
# columns left, eight right and four left again every 8 s, so pieces land all
# over the field and a game outlasts the minute of play a section asks of it
# (always back and forth by one, they piled up in the middle and a game could
# end within the minute). Stopped between a key's press and its release, a key
# would stay held, and the server's auto-repeat would wake the game about 100
# times a second in the next state measured: the keys are let go.
sweep=$(printf 'Left Up %.0s' 1 2 3 4; printf 'Right Up %.0s' 1 2 3 4 5 6 7 8; printf 'Left Up %.0s' 1 2 3 4)
PLAY_KEYS=(xdotool key --delay 250 $(for _ in $(seq 38); do echo "$sweep"; done))
LET_GO=(xdotool keyup Left Right Up)
header() {
    echo "  (medians of $reps windows of $window s; % of one core, all threads; wake-ups = voluntary context switches)"
    printf "  %-26s %8s %10s %10s %10s %10s\n" state game game server "bare Qt" "bare Qt"
}

rm -f "$FOLDER/rushhs.dat"
# The bare window first, so the game's windows come up above it.
"$baseline" >/dev/null 2>&1 &
base_pid=$!
sleep 1
launch_game
echo
echo "States, with a PulseAudio null sink:"
header
sleep 2
measure "title"
title_rss=$(rss_kb "$GAME_PID")
click_start_button
wait_until 10 "a piece after START" piece_in_spawn_rows
play_start=$(now_ms)
measure "play, music on" keys
sleep $((30 - ($(now_ms) - play_start) / 1000)) 2>/dev/null
play_rss=$(rss_kb "$GAME_PID")
wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
xdotool key ctrl+m
measure "play, music off" keys
wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
xdotool key ctrl+m
sleep 1
click_start_button # PAUSE
wait_until 5 "the paused picture after PAUSE" paused_shown
sleep 1
measure "paused"
click_start_button # PLAY
wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
# Down held: the pieces drop every 4th tick until one no longer fits. The game
# is over when the name prompt comes, or when the field stops changing.
xdotool keydown Down
field=
for _ in $(seq 180); do
    has_window '^High Score!' '' && break
    now=$(field_cells)
    [[ -n $field && $now == "$field" ]] && break
    field=$now
    sleep 1
done
xdotool keyup Down
sleep 1 # the prompt comes with the game-over picture
if prompt=$(window_named '^High Score!' ''); then
    wait_until 5 "the prompt to have the keys" is_active "$prompt"
    xdotool type --delay 20 "figures"
    xdotool key Return
    wait_until 10 "the prompt to close" no_window '^High Score!' ''
fi
sleep 2
measure "after game over"
quit_game
# No sound server at all: the game plays in silence.
PULSE_SERVER=unix:/nonexistent launch_game
echo "States, no sound server:"
header
sleep 2
measure "title"
click_start_button
sleep 1
measure "play, music on" keys
quit_game
echo
echo "RSS after 30 s of play:  $((play_rss / 1024)) MB"

# --- a pad ---------------------------------------------------------------------
# A pad plugged in that nobody touches but to start and pause the game: a FIFO
# in the folder the game watches for pads instead of /dev/input (no uinput
# here to make a virtual one), held open for writing so that it stays quiet.
mkdir "$WORK/pads" && mkfifo "$WORK/pads/event0"
exec {pad}<>"$WORK/pads/event0"
# Start pressed and let go: struct input_event records (16 bytes of time, then
# type, code and value) with their SYN_REPORTs.
pad_start() {
    local time='\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' syn='\0\0\0\0\0\0\0\0'
    printf "$time\x01\0\x3b\x01\x01\0\0\0$time$syn$time\x01\0\x3b\x01\0\0\0\0$time$syn" >&"$pad"
}
STONERUSH_PAD_FOLDER=$WORK/pads launch_game
echo "States, a pad plugged in, with a PulseAudio null sink:"
header
sleep 2
measure "title, a pad"
pad_start
wait_until 10 "a piece after Start on the pad" piece_in_spawn_rows
measure "play, a pad" keys
pad_start # PAUSE
wait_until 5 "the paused picture after PAUSE" paused_shown
sleep 1
measure "paused, a pad"
quit_game
exec {pad}>&-

# --- zoom -----------------------------------------------------------------------
launch_game
echo
echo "Zoom on a 3840 x 2160 screen, music on:"
header
wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
step=1
while xdotool key ctrl+equal && sleep 0.5 && window_geometry "$MAIN_WINDOW" && ((WW == 319 * (step + 1))); do
    step=$((step + 1))
done
main_window_at "$step"
sleep 1
measure "title at ${step}x (the largest)"
click_start_button
sleep 1
measure "play at ${step}x" keys
click_start_button # PAUSE
wait_until 5 "the paused picture after PAUSE" paused_shown
sleep 1
measure "paused at ${step}x"
xdotool key ctrl+0
wait_until 5 "the main window at 1x" eval 'window_geometry "$MAIN_WINDOW" && ((WW == 319))'
main_window_at 1
click_start_button # PLAY
sleep 1
measure "play at 1x" keys
quit_game
kill "$base_pid"
wait "$base_pid" 2>/dev/null

# --- Wayland ---------------------------------------------------------------------
( source "$root/tools/figures-wayland.sh" )
case $? in
0) ;;
77) echo "Natively on Wayland: not measured" ;;
*) echo "Wayland: a figure could not be measured (see $WORK)" && exit 1 ;;
esac

# --- tick, first sound and timer -------------------------------------------------
echo
echo "Tick cost, warm micro-benchmark (main_window_bench on the X server):"
QT_QPA_PLATFORM=xcb "$build/bench/main_window_bench" --benchmark_min_time=1 2>/dev/null |
    awk '/^BM_/ { printf "  %-22s %s %s\n", $1, $2, $3 }'
pactl load-module module-remap-source master=test_null.monitor source_name=test_listen >/dev/null
echo "play() to first sound at the null sink (the music alone, music_figures, 3 runs):"
# A null sink with no stream renders in blocks of up to 2 s, so a new stream
# would wait up to 2 s for its first block, which no sound card does: a
# silent low-latency stream keeps it running as a card would.
pacat --latency-msec=20 /dev/zero &
keeper=$!
for run in 1 2 3; do
    "$build/tools/music_figures" "$FOLDER/rushtune.mid" test_listen 2>/dev/null >"$WORK/music$run.txt"
    sed -n 's/^play() to first audible sample: \([0-9]*\) ms.*/\1/p' "$WORK/music$run.txt" >>"$WORK/first.txt"
done
kill "$keeper"
echo "  median $(median <"$WORK/first.txt") ms of $(tr '\n' ' ' <"$WORK/first.txt")(includes ~10 ms of listening delay)"
grep -E "^memory" "$WORK/music1.txt" | sed 's/^/  /'
echo "Timer, side by side:"
"$baseline" --timer-intervals 2>/dev/null | sed 's/^/  /' &
QT_QPA_PLATFORM=xcb "$build/bench/main_window_bench" --timer-intervals 2>/dev/null | sed 's/^/  /'
wait $!

# --- soak -----------------------------------------------------------------------
((soak_seconds > 0)) || { rm -rf "$WORK"; exit 0; }
rm -f "$FOLDER/rushhs.dat"
launch_game
click_start_button
keys=(Left Right Up Down a d Left Right)
soak_start=$(now_ms)
rss_first=
rss_warm=
rss_max=0
games=1
while (($(now_ms) - soak_start < soak_seconds * 1000)); do
    kill -0 "$GAME_PID" 2>/dev/null || { echo "Soak: the game died after $((($(now_ms) - soak_start) / 1000)) s"; exit 1; }
    if prompt=$(window_named '^High Score!' ''); then
        wait_until 5 "the prompt to have the keys" is_active "$prompt"
        xdotool type --delay 20 "soak$games"
        xdotool key Return
        wait_until 10 "the prompt to close" no_window '^High Score!' ''
        click_start_button
        games=$((games + 1))
        # Everything a run uses (play, prompt, a new game) has now been used once:
        # what grows after this point is what the soak is looking for.
        ((${#rss_warm} == 0)) && rss_warm=$(rss_kb "$GAME_PID")
        continue
    fi
    xdotool keydown "${keys[RANDOM % ${#keys[@]}]}" sleep 0.0$((RANDOM % 9 + 1)) keyup Left Right Up Down a d
    rss=$(rss_kb "$GAME_PID")
    (((($(now_ms) - soak_start) > 30000) && ${#rss_first} == 0)) && rss_first=$rss
    ((rss > rss_max)) && rss_max=$rss
done
rss_last=$(rss_kb "$GAME_PID")
quit_game
echo
echo "Soak, $soak_seconds s of random keys, $games games: RSS at 30 s $((rss_first / 1024)) MB," \
    "at the end $((rss_last / 1024)) MB, peak $((rss_max / 1024)) MB; no crash"
if ((${#rss_warm})); then
    echo "  growth after the first game ended: $((rss_last - rss_warm)) kB (target < 1024 kB);" \
        "from 30 s: $((rss_last - rss_first)) kB, which includes the first name prompt"
else
    echo "  growth from 30 s: $((rss_last - rss_first)) kB (target < 1024 kB); no game ended"
fi
rm -rf "$WORK"
