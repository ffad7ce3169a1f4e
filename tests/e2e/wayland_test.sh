#!/usr/bin/env bash
# Stonerush natively on Wayland, played as a person plays it under a headless
# sway on a 3840 x 2160 screen at scale 2, with DISPLAY naming an X display
# that closes every connection and counts them: the first start at step 1 (the
# screen is 1920 x 1080 in logical pixels); the splash left by a key; every
# window native, with the desktop entry's app_id; the playfield's picture the
# 1x one with each pixel doubled; a game started by a click and steered; High
# Scores above the main window, with the keys, closed by the compositor, the
# game paused until PLAY; zoom in mid-game (pictures 4x); About and Help alike;
# no Mesa EGL library loaded; Quit; and not one connection to the X display.
# A second start: a message about the score file read before the main window,
# the zoom and the starting speed kept, a game to its end and the name prompt
# above the main window. Then with only that X display: one line, status 1.
#   wayland_test.sh GAME_DIR ASSETS_DIR HELPER_DIR   (exit 77, skipped, without sway, wtype or grim)
set -uo pipefail

GAME_DIR=$(realpath "$1")
ASSETS=$(realpath "$2")
HELPERS=$(realpath "$3")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-wayland.XXXXXX")
source "$HERE/session.sh"
source "$HERE/game_views.sh"
source "$HERE/wayland_session.sh"

SCREEN_SIZE=3840x2160 SCALE=2
start_sway "$HELPERS/wayland_pointer"
FOLDER=$WORK/game
cp -r "$GAME_DIR" "$FOLDER"
for step in 2 4; do
    convert "$ASSETS/playfield_paused.png" -scale $((100 * step))% -depth 8 "rgb:$WORK/paused_$step.rgb"
done
paused_picture() {
    shoot "$MAIN_WINDOW" && client_region 2 2 160 288 "$WORK/field.rgb" && cmp -s "$WORK/field.rgb" "$WORK/paused_$Z.rgb"
}
# side_window KEY TITLE: KEY opens TITLE above the main window, with the keys;
# the compositor closes it, and the main window has the keys back.
side_window() {
    local side
    keys "$1"
    wait_until 5 "\"$2\" after $1" has_window "^$2\$" ''
    side=$(window_named "^$2\$" '')
    wait_until 5 "\"$2\" to have the keys" is_active "$side"
    stacked_above "$side" "$MAIN_WINDOW" || fail "\"$2\" is below the main window"
    close_window "$side"
    wait_until 5 "\"$2\" to close" no_window "^$2\$" ''
    wait_until 5 "the main window back after \"$2\"" is_active "$MAIN_WINDOW"
}

# Far from the numbers other tests try (473 on), which would count their connections.
display=$((600 + RANDOM % 300))
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do ((display++)); done
mkdir -p -m 1777 /tmp/.X11-unix
"$HELPERS/closing_x_socket" "/tmp/.X11-unix/X$display" "$WORK/x_connections" 2>>"$WORK/game.log" &
X_PID=$!
trap 'kill $X_PID; rm -f /tmp/.X11-unix/X$display; stop_sway' EXIT
wait_until 5 "the X display :$display" test -s "$WORK/x_connections"

echo "First start on a 3840 x 2160 screen at scale 2, with DISPLAY=:$display beside Wayland"
Z=2
launch_natively DISPLAY=:$display
[[ $(sway_windows | awk '{ print $7, $8 }' | sort -u) == "invalid.stonerush.stonerush xdg_shell" ]] ||
    fail "not every window is a native one with the desktop entry's app_id: $(sway_windows)"
note "the splash left by a key; the main window at step 1, native, app_id invalid.stonerush.stonerush"
wait_until 5 "the playfield's picture with each pixel doubled" paused_picture
note "the playfield's picture: the 1x one, each pixel a 2 x 2 block"
click_start_button
wait_until 5 "a piece after START" eval '[[ $(field_cells | wc -l) == 4 ]]'
left_column() { field_cells | awk -F, '$2 < 12 { print $1 }' | sort -n | head -n1; }
column=$(left_column)
hold Left 90
wait_until 2 "the piece to move a column left" eval '[[ $(left_column) == $((column - 1)) ]]'
note "START clicked; Left moves the piece a column"

side_window F4 "High Scores"
wait_until 5 "the game paused by High Scores, still after it closed" paused_picture
click_start_button # PLAY
wait_until 5 "the game to go on after PLAY" eval '! paused_picture'
note "F4: High Scores above the paused main window; closed by the compositor; PLAY goes on"

keys ctrl+equal
wait_until 5 "the main window at 2x" eval 'window_geometry "$MAIN_WINDOW" && ((WW == 319 * 4))'
main_window_at 4
before=$(field_cells)
[[ -n $before ]] || fail "no piece on the playfield at 2x"
wait_until 3 "the game to go on at 2x" eval '[[ $(field_cells) != "$before" ]]'
click_start_button # PAUSE at its 2x place
wait_until 5 "the paused picture with each pixel a 4 x 4 block" paused_picture
note "Ctrl++ mid-game: the game goes on at 2x; paused, each pixel a 4 x 4 block"

side_window F2 "About Stonerush"
side_window F1 "Stonerush Help"
mesa=$(grep -oE '[^/]*(libEGL_mesa|_dri|libLLVM)[^/]*\.so[.0-9]*$' "/proc/$GAME_PID/maps" | sort -u)
[[ -z $mesa ]] || fail "Mesa's drawing stack is loaded: $(echo $mesa)"
note "F2, F1: About and Help; RSS $(($(awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status") / 1024)) MB, no Mesa EGL library"
keys F3
game_ends_with 0
[[ $(cat "$WORK/x_connections") == 0 ]] || fail "the game connected to DISPLAY $(cat "$WORK/x_connections") times"
note "Quit; not one connection to DISPLAY"

echo "A second start: a message, the choices kept, the name prompt"
mkdir "$FOLDER/rushhs.dat" # no file can be kept there: the game says so
echo startingSpeed=12 >>"$WORK/player/.config/stonerush/stonerush.conf"
Z=4 MESSAGE=1 launch_natively
click_start_button
wait_until 30 'the "High Score!" prompt at game over' has_window '^High Score!$' ''
prompt=$(window_named '^High Score!$' '')
wait_until 5 "the prompt to have the keys" is_active "$prompt"
stacked_above "$prompt" "$MAIN_WINDOW" || fail "the prompt is below the main window"
in_sway wtype -s 300 Wayland -s 50 -k Return
wait_until 5 "the prompt to close" no_window '^High Score!$' ''
wait_until 5 "the name in the per-user file" eval '[[ $(head -c 7 "$WORK/player/.local/share/stonerush/rushhs.dat") == Wayland ]]'
keys F3
game_ends_with 0
note "the message read first; at 2x and speed 12 as kept; the prompt above the main window took the name"

echo "Only the X display that closes every connection"
said=$(env -i PATH="$PATH" HOME="$WORK" DISPLAY=:$display "$FOLDER/stonerush" 2>&1)
status=$?
((status == 1)) && [[ $said == "stonerush: cannot open the display \":$display\"; run it from a graphical session" ]] ||
    fail "status $status, said: $said"
wait_until 2 "one connection to the X display" eval '[[ $(cat "$WORK/x_connections") == 1 ]]'
note "one line, status 1, one connection"

echo "PASS: Wayland"
PASSED=1
