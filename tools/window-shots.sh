#!/usr/bin/env bash
# Screenshots of every window of the game as a player first meets it, under
# Xvfb and openbox: the splash, the main window at the title, About, Help and
# High Scores over it. To see that a change leaves the windows as they were,
# take them with two builds and compare (ImageMagick):
#   [ZOOM=N] bash tools/window-shots.sh GAME_DIR OUT_DIR [SCREEN]   (SCREEN e.g. 3840x2160)
#   for f in OUT_A/*.png; do compare -metric AE "$f" "OUT_B/${f##*/}" null: 2>&1; echo " $f"; done
set -uo pipefail
GAME_DIR=$(realpath "$1")
mkdir -p "$2"
OUT=$(realpath "$2")
SCREEN_SIZE=${3:-1024x768}
root=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-shots.XXXXXX")
source "$root/tests/e2e/session.sh"
source "$root/tests/e2e/game_views.sh"

SCREEN_SIZE=$SCREEN_SIZE start_session >/dev/null
if [[ -n ${ZOOM:-} ]]; then
    mkdir -p "$HOME/.config/stonerush"
    printf '[General]\nzoom=%s\n' "$ZOOM" >"$HOME/.config/stonerush/stonerush.conf"
fi
FOLDER=$WORK/game
cp -r "$GAME_DIR" "$FOLDER"
rm -f "$FOLDER/rushhs.dat"
(cd "$WORK" && exec "$FOLDER/stonerush" >>"$WORK/game.log" 2>&1) &
GAME_PID=$!
wait_until 20 "the splash" has_window '^ $' ''
sleep 0.5
import -window "$(window_named '^ $' '')" "$OUT/splash.png"
xdotool key space
wait_until 20 "the main window" has_window '^Stonerush$' ''
MAIN_WINDOW=$(window_named '^Stonerush$' '')
wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
sleep 0.5
import -window "$MAIN_WINDOW" "$OUT/main.png"
# shot KEY TITLE NAME: the side window KEY opens, then closed by the window manager.
shot() {
    xdotool key "$1"
    wait_until 5 "\"$2\"" has_window "^$2\$" ''
    sleep 0.5
    local side
    side=$(window_named "^$2\$" '')
    import -window "$side" "$OUT/$3.png"
    wmctrl -i -c "$side"
    wait_until 5 "\"$2\" to close" no_window "^$2\$" ''
    wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
}
shot F2 "About Stonerush" about
shot F1 "Stonerush Help" help
shot F4 "High Scores" high_scores
xdotool key F3
game_ends_with 0
PASSED=1
echo "screenshots in $OUT"
