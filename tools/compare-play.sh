#!/usr/bin/env bash
# CPU and wake-ups in play of two builds of the game playing at the same time
# on one private Xvfb, music on to a null sink, no keys: whatever the machine
# does meanwhile weighs on both alike, so a small difference in the tick, the
# drawing or the music shows where figures.sh's runs one after the other
# drown it in noise. Each round starts both games afresh, in turns first, and
# measures 25 s of play (a game with no keys lasts longer than that). The
# game started second has the top window: read the rounds in pairs.
#   [ROUNDS=4] bash tools/compare-play.sh OLD_GAME_DIR NEW_GAME_DIR   (e.g. build/default/game)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-play.XXXXXX")
for i in 1 2; do cp -r "$(realpath "${!i}")" "$WORK/game$i"; done
source "$root/tests/e2e/session.sh"
source "$root/tests/e2e/game_views.sh"
source "$root/tools/process_figures.sh"
start_session >/dev/null

main_windows() { xdotool search --onlyvisible --name '^Stonerush$' 2>/dev/null | sort; }
# start_playing N: game N past its splash and started; sets PID[N].
declare -A PID
start_playing() {
    local before
    before=$(main_windows)
    (cd "$WORK" && exec "$WORK/game$1/stonerush" >>"$WORK/game.log" 2>&1) &
    PID[$1]=$!
    wait_until 20 "the splash" has_window '^ $' 298
    wait_until 5 "the splash to have the keys" is_active "$(window_named '^ $' 298)"
    xdotool key space
    wait_until 20 "its main window" eval '[[ $(main_windows) != "$before" ]]'
    MAIN_WINDOW=$(comm -13 <(echo "$before") <(main_windows) | head -n1)
    main_window_at 1
    click_start_button
    wait_until 10 "a piece after START" piece_in_spawn_rows
}

seconds=25
printf '%-8s %18s %18s\n' round "$1" "$2"
for ((round = 1; round <= ${ROUNDS:-4}; round++)); do
    if ((round % 2)); then start_playing 1 && start_playing 2; else start_playing 2 && start_playing 1; fi
    sleep 3 # past the start of the game just started
    read -r c1 s1 <<<"$(usage "${PID[1]}")" && read -r c2 s2 <<<"$(usage "${PID[2]}")"
    sleep "$seconds"
    read -r d1 t1 <<<"$(usage "${PID[1]}")" && read -r d2 t2 <<<"$(usage "${PID[2]}")"
    awk -v r="$round" -v s="$seconds" -v c1=$((d1 - c1)) -v w1=$((t1 - s1)) -v c2=$((d2 - c2)) -v w2=$((t2 - s2)) \
        'BEGIN { printf "%-8s %9.2f%% %5.0f/s %9.2f%% %5.0f/s\n", r, c1 / s / 1e7, w1 / s, c2 / s / 1e7, w2 / s }'
    kill "${PID[1]}" "${PID[2]}" && wait "${PID[1]}" "${PID[2]}" 2>/dev/null
done
