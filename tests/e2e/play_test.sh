#!/usr/bin/env bash
# Plays Stonerush as a person would, on a private X server with a sound server
# that records: two runs of the game from a scratch copy of its folder.
#
#   play_test.sh GAME_DIR ASSETS_DIR
#
# Run 1: splash, START, the first piece, one step left, PAUSE, the high-score
# window over the paused game, PLAY, Quit. Run 2: starting speed 12, a game
# left to fall to its end, a name for the high-score table, Quit. Then the
# score file is checked byte by byte and the recording for sound.
#
# Set STONERUSH_E2E_SCREENSHOT=path to keep a picture of the game in progress.
# Exit 77 (skipped) only when Xvfb or xdotool is missing.
set -uo pipefail

GAME_DIR=$(realpath "$1")
ASSETS=$(realpath "$2")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-e2e.XXXXXX")
source "$HERE/session.sh"
source "$HERE/game_views.sh"

start_session
FOLDER=$WORK/game
cp -r "$GAME_DIR" "$FOLDER"
rm -f "$FOLDER/rushhs.dat"
picture_rgb "$ASSETS/mainpsrc.png" "$WORK/paused.rgb"
picture_rgb "$ASSETS/nextpsrc.png" "$WORK/paused_next.rgb"
picture_rgb "$ASSETS/game_over_pic.png" "$WORK/game_over.rgb"

echo "Run 1: start, steer, pause, high scores, quit"
launch_game

click_command1
wait_until 5 "a piece in the spawn rows after START" piece_in_spawn_rows
note "piece at $(echo $SPAWNED)"

move_left_once
note "after Left: $(echo $MOVED)"

click_command1
wait_until 5 "the paused pictures after PAUSE" paused_pictures_shown
keeps_for 2 "the paused pictures while paused" paused_pictures_shown

focus "$FORM"
xdotool key F4
wait_until 5 'the "High Scores" window after F4' has_window '^High Scores' ''
SCORES_WINDOW=$(window_named '^High Scores' '')
paused_pictures_shown || fail "the game was not paused behind the high-score window"
window_geometry "$SCORES_WINDOW"
click_at $((WX + 96 + 36)) $((WY + 248 + 8)) # its Close button
wait_until 5 'the "High Scores" window to close' no_window '^High Scores' ''
keeps_for 1 "the paused pictures after closing High Scores" paused_pictures_shown

click_command1 # PLAY
wait_until 5 "the piece where it was before the pause" piece_moved_from "$MOVED" 0
note "piece stayed put while paused"

quit_game
default_record_bytes 10 | cmp -s - "$FOLDER/rushhs.dat" ||
    fail "rushhs.dat after run 1 is not ten default records"
note "rushhs.dat holds ten default records"

echo "Run 2: speed 12, a game to its end, a name, quit"
start_recording
launch_game
set_starting_speed_to_maximum
click_command1
started=$(now_ms)

wait_until 20 "pieces to settle" enough_blocks_settled
import -window "$FORM" "$WORK/in_play.png"
[[ -n "${STONERUSH_E2E_SCREENSHOT:-}" ]] && cp "$WORK/in_play.png" "$STONERUSH_E2E_SCREENSHOT"

# At speed 0 the first piece alone takes 13 s to reach the floor and a game
# several minutes; at speed 12 a game left alone ends within seconds.
wait_until 40 'the "High Score!" prompt at game over' has_window '^High Score!' ''
note "game over after $((($(now_ms) - started) / 1000)) s"
PROMPT=$(window_named '^High Score!' '')
focus "$PROMPT"
xdotool type --delay 40 "Tester"
xdotool key Return
wait_until 5 "the prompt to close" no_window '^High Score!' ''
wait_until 5 "the game-over picture" field_shows "$WORK/game_over.rgb"

quit_game
rms=$(stop_recording)
if [[ $SOUND == none ]]; then
    echo "SKIPPED the sound check: no sound server to record from"
else
    note "sound recorded: RMS amplitude $rms"
    awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.001) }' || fail "the null sink recorded silence (RMS ${rms:-none})"
fi

check_score_file "$FOLDER/rushhs.dat" "Tester"
echo "PASS: end-to-end play"
rm -rf "$WORK"
