#!/usr/bin/env bash
# The high-score file through a kill, a signal and a file the game cannot
# read, on a private X server: three games at the fastest starting speed, each
# left to fall to its end, and the file checked byte by byte.
#
#   scores_test.sh GAME_DIR
#
# 1. A name entered, then kill -9: the name and score are already in the file.
# 2. SIGTERM while the name prompt holds "Sig": the entry is in the file.
# 3. A file the game cannot read (write-only; as root the game runs as the
#    user "nobody"): after a game with a name and a normal exit (SIGTERM, as
#    the close box), its bytes are unchanged.
#
# The mouse dismisses the splash and starts the game; keys go to the window
# they are meant for (xdotool --window), and a message is closed with Escape
# (Return there leaves the next dialog deaf to Return when no window manager
# gives the focus). Exit 77 (skipped) only when Xvfb or
# xdotool is missing.
set -uo pipefail

GAME_DIR=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-scores.XXXXXX")
source "$HERE/session.sh"
source "$HERE/game_views.sh"

start_session
FOLDER=$WORK/game
cp -r "$GAME_DIR" "$FOLDER"
chmod 755 "$WORK" # "nobody" must reach the game folder
FILE=$FOLDER/rushhs.dat

# start_game [COMMAND...]: runs the game (under COMMAND, e.g. setpriv), clicks
# the splash away, answers the message about a bad file when one is expected
# ($EXPECT_MESSAGE=1), and waits for the main window.
start_game() {
    GAME_MAY_EXIT=0
    (cd "$FOLDER" && exec "$@" "$FOLDER/stonerush" >>"$WORK/game.log" 2>&1) &
    GAME_PID=$!
    wait_until 20 "the splash window" has_window '^[Ss]tonerush$' 298
    window_geometry "$(window_named '^[Ss]tonerush$' 298)"
    click_at $((WX + 149)) $((WY + 149))
    if ((${EXPECT_MESSAGE:-0})); then
        wait_until 20 "the message about the unreadable file" has_window '^Stonerush$' ''
        local box
        box=$(window_named '^Stonerush$' '')
        has_window '^Stonerush$' 319 && fail "the main window came up without a message about the unreadable file"
        xdotool key --window "$box" Escape
    fi
    wait_until 20 "the main window" has_window '^Stonerush$' 319
    FORM=$(window_named '^Stonerush$' 319)
    window_geometry "$FORM"
    FORM_X=$WX FORM_Y=$WY MENU=$((WH - 302))
}

# play_to_prompt: a game at speed 12 left to fall to its end, up to the open
# name prompt ($PROMPT), with TEXT typed into it.
play_to_prompt() {
    set_starting_speed_to_maximum
    click_command1
    wait_until 40 'the "High Score!" prompt at game over' has_window '^High Score!' ''
    PROMPT=$(window_named '^High Score!' '')
    xdotool type --window "$PROMPT" --delay 40 "$1"
}

# end_game SIGNAL STATUS: sends it; the game must end with that exit status.
end_game() {
    GAME_MAY_EXIT=1
    kill -"$1" "$GAME_PID"
    wait "$GAME_PID"
    local status=$?
    GAME_PID=
    ((status == $2)) || fail "the game exited with status $status after SIG$1, not $2"
}

echo "1. A name entered, then kill -9"
rm -f "$FILE"
start_game
play_to_prompt Killed
xdotool key --window "$PROMPT" Return 2>/dev/null # the release finds the prompt gone
wait_until 5 "the prompt to close" no_window '^High Score!' ''
end_game KILL 137
check_score_file "$FILE" Killed

echo "2. SIGTERM with the name prompt open"
rm -f "$FILE"
start_game
play_to_prompt Sig
end_game TERM 0
check_score_file "$FILE" Sig
ls "$FOLDER" | grep -q '^rushhs\.dat\.' && fail "a temporary file was left: $(ls "$FOLDER")"

echo "3. A file the game cannot read is left as it was"
{
    printf 'Keep%21s\x39\x30\0\0' ''
    default_record_bytes 9
    printf 'bytes after the records'
} >"$FILE"
cp "$FILE" "$WORK/before.dat"
chmod 200 "$FILE"
AS=()
if ((EUID == 0)); then # root reads anything: the game runs as "nobody"
    mkdir -p -m700 "$WORK/nobody/runtime"
    chown -R 65534:65534 "$FOLDER" "$WORK/nobody"
    AS=(setpriv --reuid=65534 --regid=65534 --clear-groups
        env HOME="$WORK/nobody" XDG_RUNTIME_DIR="$WORK/nobody/runtime")
fi
EXPECT_MESSAGE=1 start_game "${AS[@]}"
play_to_prompt Lost
xdotool key --window "$PROMPT" Return 2>/dev/null # the release finds the prompt gone
wait_until 5 "the prompt to close" no_window '^High Score!' ''
end_game TERM 0
cmp -s "$WORK/before.dat" "$FILE" || fail "the unreadable file was changed"
[[ $(stat -c %a "$FILE") == 200 ]] || fail "the unreadable file's mode is now $(stat -c %a "$FILE")"
note "the unreadable file kept its $(stat -c %s "$FILE") bytes"

echo "PASS: high scores through kill -9, SIGTERM and an unreadable file"
rm -rf "$WORK"
