#!/usr/bin/env bash
# Launch to the splash of several builds of the game, taken in turns on one
# private Xvfb (3840 x 2160, openbox), so that a busy moment of the machine
# weighs on all of them alike; a bare Qt window runs with them. Prints the
# median of each. The game opens at 1x, as in tools/figures.sh.
#   [RUNS=15] bash tools/compare-launch.sh GAME_DIR...     (GAME_DIR e.g. build/default/game)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/default
cmake --build "$build" --target map_timer minimal_window >/dev/null || { echo "build failed"; exit 1; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-launch.XXXXXX")
games=()
for dir in "$@"; do
    games+=("$WORK/${#games[@]}")
    cp -r "$(realpath "$dir")" "${games[-1]}"
done
source "$root/tests/e2e/session.sh"
source "$root/tests/e2e/game_views.sh"
source "$root/tools/process_figures.sh"
SCREEN_SIZE=3840x2160 start_session >/dev/null
mkdir -p "$HOME/.config/stonerush"
printf '[General]\nzoom=1\n' >"$HOME/.config/stonerush/stonerush.conf"

programs=("${games[@]/%//stonerush}" "$build/bench/minimal_window")
for ((run = 0; run < ${RUNS:-15}; run++)); do
    for i in "${!programs[@]}"; do
        "$build/bench/map_timer" 1000 "${programs[i]}" 2>/dev/null | sed -n "s/^launch_ms=\([0-9.]*\).*/\1/p" >>"$WORK/launch$i"
    done
done
names=("$@" "bare Qt window")
for i in "${!programs[@]}"; do
    printf '%-40s median %s ms of %s runs\n' "${names[i]}" \
        "$(median <"$WORK/launch$i")" "$(wc -l <"$WORK/launch$i")"
done
