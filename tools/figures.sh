#!/usr/bin/env bash
# Prints Stonerush's figures, each measured in one run beside a baseline so the
# ratio holds on a noisy machine. A report, not a test: it never fails on a
# slow figure, only when something cannot be measured at all.
#
#   bash tools/figures.sh [BUILD_DIR]       (default build/release)
#   SOAK_SECONDS=60 bash tools/figures.sh   a shorter soak (default 600)
#
# Launch: time from exec to the splash being mapped and RSS 1 s later, against
#   a minimal Qt window (bench/minimal_window), median of 7 alternate runs.
# CPU: share of one core over 30 s of play (speed 0, pieces left to fall),
#   against the minimal window idling over the same 30 s; then 30 s more
#   with the music switched off.
# Tick: microseconds per tick with drawing, and the draw alone (form1_bench).
# Timer: interval mean and p99 over 300 ticks of the game's timer, against a
#   bare 30 ms precise QTimer run at the same time.
# Soak: RSS growth over SOAK_SECONDS of play with random keys; games that end
#   are given a name and started again; the game must still be alive at the end.
#   Growth is counted from the end of the first game, once the name prompt
#   and a new game have been used once.
# Everything runs on a private Xvfb with a PulseAudio null sink.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build/release}")
soak_seconds=${SOAK_SECONDS:-600}

cmake --build "$build" --target stonerush minimal_window map_timer form1_bench >/dev/null ||
    { echo "build failed"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-figures.XXXXXX")
source "$root/tests/e2e/session.sh"
source "$root/tests/e2e/game_views.sh"
start_session >/dev/null
FOLDER=$WORK/game
cp -r "$build/game" "$FOLDER"
baseline=$build/bench/minimal_window

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
hz=$(getconf CLK_TCK)

echo "Stonerush figures ($(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg), build $build)"

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

# --- CPU while playing --------------------------------------------------------
rm -f "$FOLDER/rushhs.dat"
launch_game
click_command1
"$baseline" >/dev/null 2>&1 &
base_pid=$!
wait_until 10 "a piece after START" piece_in_spawn_rows
game0=$(cpu_ticks "$GAME_PID")
base0=$(cpu_ticks "$base_pid")
sleep 30
game1=$(cpu_ticks "$GAME_PID")
base1=$(cpu_ticks "$base_pid")
play_rss=$(rss_kb "$GAME_PID")
kill "$base_pid"
echo
echo "CPU over 30 s of play:   $(awk -v t=$((game1 - game0)) -v hz="$hz" 'BEGIN { printf "%.2f", 100 * t / hz / 30 }')% of one core; minimal Qt window idle $(awk -v t=$((base1 - base0)) -v hz="$hz" 'BEGIN { printf "%.2f", 100 * t / hz / 30 }')% (target < 2%)"
echo "RSS after 30 s of play:  $((play_rss / 1024)) MB (music synthesiser and soundfont loaded)"
# The same again with the music switched off (Ctrl+M), to tell the
# synthesiser's share from the game's own.
xdotool key ctrl+m
game0=$(cpu_ticks "$GAME_PID")
sleep 30
game1=$(cpu_ticks "$GAME_PID")
echo "CPU, music off (Ctrl+M): $(awk -v t=$((game1 - game0)) -v hz="$hz" 'BEGIN { printf "%.2f", 100 * t / hz / 30 }')% of one core over the next 30 s"
quit_game

# --- tick and timer -------------------------------------------------------------
echo
echo "Tick cost (form1_bench on the X server):"
QT_QPA_PLATFORM=xcb "$build/bench/form1_bench" --benchmark_min_time=1 2>/dev/null |
    awk '/^BM_/ { printf "  %-22s %s %s\n", $1, $2, $3 }'
echo "Timer, side by side:"
"$baseline" --timer-intervals 2>/dev/null | sed 's/^/  /' &
QT_QPA_PLATFORM=xcb "$build/bench/form1_bench" --timer-intervals 2>/dev/null | sed 's/^/  /'
wait $!

# --- soak -----------------------------------------------------------------------
rm -f "$FOLDER/rushhs.dat"
launch_game
click_command1
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
        click_command1
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
