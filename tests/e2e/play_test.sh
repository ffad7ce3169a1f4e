#!/usr/bin/env bash
# Plays Stonerush as a person would, on a private X server with a sound server
# that records: two runs of the game from a scratch copy of its folder.
#
#   play_test.sh GAME_DIR ASSETS_DIR
#
# Everything runs under the openbox window manager, with no focus given by the
# test: only keys, clicks and the window manager's close command.
# Run 1: a key past the splash, About by F2, START, one step left, the D key
# under a Russian layout, Down held with auto-repeat, About, Help and High
# Scores over the paused game (each stays above the main window after a click
# on it and is closed by the window manager), PLAY, music heard and silenced
# by Ctrl+M, Quit. Run 2: music and sounds off by Ctrl+M and Ctrl+S, starting
# speed 12, a game left to fall to its end in silence, a name for the
# high-score table, Quit. Then the score file is checked byte by byte.
#
# Set STONERUSH_E2E_SCREENSHOT=path to keep a picture of the game in progress,
# STONERUSH_E2E_SPLASH_SHOT and STONERUSH_E2E_ABOUT_SHOT for the screen with the
# splash and with About over the paused game after a click on the main window.
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

echo "Run 1: under a window manager, keys only after the splash; side windows; start, steer, pause"
launch_game
side_window F2 "About Stonerush" # before any click

click_command1
wait_until 5 "a piece in the spawn rows after START" piece_in_spawn_rows
note "piece at $(echo $SPAWNED)"
move_left_once
note "after Left: $(echo $MOVED)"
setxkbmap ru
turns_with Cyrillic_ve # where D is on an English keyboard
setxkbmap us
note "the D key turns the piece under a Russian layout"
held_down_keeps_acting

SIDE_SHOT=${STONERUSH_E2E_ABOUT_SHOT:-} side_window F2 "About Stonerush" paused
side_window F1 "Stonerush Help" paused
side_window F4 "High Scores" paused

click_command1 # PLAY
wait_until 5 "the piece where it was before the pause" piece_moved_from "$MOVED" 0
note "piece stayed put while paused"
if [[ $SOUND == none ]]; then
    echo "SKIPPED the sound check: no sound server to record from"
    xdotool key ctrl+m
else
    music=$(rms_over 1.5)
    louder_than "$music" 0.001 || fail "no music while the game runs (RMS ${music:-none})"
    xdotool key ctrl+m
    sleep 0.3
    quiet=$(rms_over 1.5)
    louder_than "$quiet" 0.0005 && fail "the music played on after Ctrl+M (RMS $quiet)"
    note "music: RMS $music, after Ctrl+M $quiet"
fi

quit_game
default_record_bytes 10 | cmp -s - "$FOLDER/rushhs.dat" ||
    fail "rushhs.dat after run 1 is not ten default records"
note "rushhs.dat holds ten default records"

echo "Run 2: silent, speed 12, a game to its end, a name, quit"
launch_game
xdotool key ctrl+m ctrl+s # music and sounds off: the whole game is silent
start_recording
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
wait_until 5 "the prompt to have the keys" is_active "$PROMPT"
xdotool type --delay 40 "Tester"
xdotool key Return
wait_until 5 "the prompt to close" no_window '^High Score!' ''
wait_until 5 "the game-over picture" field_shows "$WORK/game_over.rgb"

quit_game
rms=$(stop_recording)
if [[ $SOUND != none ]]; then
    note "with music and sounds switched off: RMS amplitude $rms"
    louder_than "$rms" 0.0005 && fail "sound with music and sounds switched off (RMS $rms)"
fi

check_score_file "$FOLDER/rushhs.dat" "Tester"
echo "PASS: end-to-end play"
rm -rf "$WORK"
