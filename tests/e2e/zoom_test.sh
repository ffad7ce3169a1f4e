#!/usr/bin/env bash
# The zoom on a 3840 x 2160 screen under openbox: every window at 3x at the first start, centred;
# the playfield and preview pictures enlarged pixel for pixel; Ctrl+- and Ctrl++ mid-game; the
# button and the slider at their zoomed places; the step kept for the next start.
#   zoom_test.sh GAME_DIR ASSETS_DIR      (exit 77, skipped, without Xvfb or xdotool)
set -uo pipefail

GAME_DIR=$(realpath "$1")
ASSETS=$(realpath "$2")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-zoom.XXXXXX")
SCREEN_SIZE=3840x2160
source "$HERE/session.sh"
source "$HERE/game_views.sh"

start_session
FOLDER=$WORK/game
cp -r "$GAME_DIR" "$FOLDER"
rm -f "$FOLDER/rushhs.dat"
for step in 1 2 3; do
    for picture in playfield_paused preview_paused; do
        convert "$ASSETS/$picture.png" -scale $((100 * step))% -depth 8 "rgb:$WORK/${picture}_$step.rgb"
    done
done

# paused_pictures_at STEP: the playfield and the preview show the paused
# pictures enlarged STEP times, pixel for pixel.
paused_pictures_at() {
    shoot "$MAIN_WINDOW"
    client_region 2 2 160 288 "$WORK/field.rgb"
    client_region 170 114 128 128 "$WORK/preview.rgb"
    cmp -s "$WORK/field.rgb" "$WORK/playfield_paused_$1.rgb" && cmp -s "$WORK/preview.rgb" "$WORK/preview_paused_$1.rgb"
}
# zoom_to KEY STEP: KEY zooms the main window to STEP, at once.
main_window_is() { window_geometry "$MAIN_WINDOW" && ((WW == 319 * $1)); }
zoom_to() {
    xdotool key "$1"
    wait_until 5 "the main window at ${2}x after $1" main_window_is "$2"
    main_window_at "$2"
    note "$1: the main window at ${2}x"
}
# side_window_at KEY TITLE WIDTH HEIGHT: KEY opens the window TITLE at that
# size (3x), centred on the screen; the window manager closes it.
side_window_at() {
    local side
    xdotool key "$1"
    wait_until 5 "\"$2\" after $1" has_window "^$2\$" "$3"
    side=$(window_named "^$2\$" "$3")
    window_geometry "$side"
    ((WH == $4 && (2 * WX - 3840 + $3) ** 2 <= 1 && (2 * WY - 2160 + $4) ** 2 <= 1)) ||
        fail "\"$2\" is ${WW}x$WH at $WX,$WY, not ${3}x$4 centred" # half a pixel either way
    wmctrl -i -c "$side"
    wait_until 5 "\"$2\" to close" no_window "^$2\$" ''
    wait_until 5 "the main window back after closing \"$2\"" is_active "$MAIN_WINDOW"
}

echo "First start on a 3840 x 2160 screen"
Z=3
launch_game
note "the splash and the main window at 3x"
side_window_at F2 "About Stonerush" $((382 * 3)) $((239 * 3))
side_window_at F1 "Stonerush Help" $((344 * 3)) $((276 * 3))
side_window_at F4 "High Scores" $((240 * 3)) $((275 * 3))
note "About, Help and High Scores at 3x, centred"
# The slider's handle dragged to its right end at its 3x place: the game starts at speed 12.
xdotool mousemove $((WINDOW_X + 176 * Z + 20)) $((WINDOW_Y + MENU + 228 * Z)) mousedown 1 # the handle, just past the arrow
xdotool mousemove $((WINDOW_X + 320 * Z)) $((WINDOW_Y + MENU + 228 * Z)) sleep 0.2 mouseup 1
click_start_button
sleep 0.6 # 20 ticks: 10 rows at speed 12, none at speed 0
rows=$(field_cells | awk -F, '$2 > lowest { lowest = $2 } END { print lowest + 0 }')
((rows >= 5)) || fail "the piece fell $rows rows in 0.6 s: the drag did not set speed 12"
click_start_button # PAUSE at its 3x place
note "the slider dragged and the button clicked at their 3x places: $rows rows in 0.6 s at speed 12"
wait_until 5 "the paused pictures at 3x" paused_pictures_at 3
zoom_to ctrl+minus 2
wait_until 5 "the paused pictures at 2x" paused_pictures_at 2
note "the game stays paused at 2x, its pictures the 1x ones enlarged pixel for pixel"
click_start_button # PLAY at its 2x place
wait_until 5 "a piece falling at 2x" eval '[[ -n $(field_cells) ]]'
before=$(field_cells)
zoom_to ctrl+equal 3
sleep 0.5
after=$(field_cells)
[[ -n $after && $after != "$before" ]] || fail "the game did not go on at 3x ($(echo $before) / $(echo $after))"
note "the game goes on at 3x: $(echo $before) -> $(echo $after)"
click_start_button
zoom_to ctrl+0 1
wait_until 5 "the paused pictures at 1x" paused_pictures_at 1
zoom_to ctrl+plus 2
quit_game

echo "The next start keeps the step"
Z=2
launch_game
quit_game

echo "PASS: zoom"
PASSED=1
