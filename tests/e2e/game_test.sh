#!/usr/bin/env bash
# Stonerush played as a person plays it, on a private X server under openbox
# with a sound server that records: keys, clicks and the window manager's close
# command, never a focus given by the test. Four games, each past the splash by a key:
# 1. F2 before any click; START; the D key under a Russian layout; Down held
#    with auto-repeat; About, Help and High Scores over the paused game; PLAY;
#    music, then silence after Ctrl+M; Quit.
# 2. The music still off from game 1 (the choice is kept), Ctrl+S, speed 12,
#    a silent game to its end, a name, kill -9: the name and score are in the file. 3. SIGTERM at the name prompt: likewise.
# 4. A file the game cannot read: told, unchanged after a game with a name and
#    Quit, the name in the per-user file. 5. Nowhere to save: SIGTERM at the
#    start-up message, then at the name prompt; each ends the game at once.
# Before them: no display, a clear line and status 1.
#
#   game_test.sh GAME_DIR ASSETS_DIR      (exit 77, skipped, without Xvfb or xdotool)
set -uo pipefail

GAME_DIR=$(realpath "$1")
ASSETS=$(realpath "$2")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-e2e.XXXXXX")
source "$HERE/session.sh"
source "$HERE/game_views.sh"

start_session
FOLDER=$WORK/game
FILE=$FOLDER/rushhs.dat
cp -r "$GAME_DIR" "$FOLDER"
rm -f "$FILE"
stream -map rgb -storage-type char "$ASSETS/playfield_paused.png" "$WORK/paused.rgb"
stream -map rgb -storage-type char "$ASSETS/playfield_game_over.png" "$WORK/game_over.rgb"

# shift_of BEFORE NOW: "DX DY" when the four cells NOW are the cells BEFORE
# moved DX columns and DY rows; nothing when they are not.
shift_of() {
    awk -F, -v before="$(echo $1)" -v now="$(echo $2)" 'BEGIN {
        if (split(before, b, " ") != 4 || split(now, a, " ") != 4) exit
        for (k = 1; k <= 4; k++) {
            split(b[k], p, ","); split(a[k], q, ",")
            if (k == 1) { dx = q[1] - p[1]; dy = q[2] - p[2] }
            if (q[1] != p[1] + dx || q[2] != p[2] + dy) exit
        }
        print dx, dy
    }'
}
# The falling piece: the cells of the top 12 rows (the few pieces landed in
# this game lie lower).
falling_cells() { field_cells | awk -F, '$2 < 12'; }

# turns_with KEYSYM: a tap of it turns the falling piece (its cells are no
# longer a shifted copy). A square shows no turn: it is dropped first, with
# Down held until it has left the top rows.
turns_with() {
    local tries before now
    for tries in 1 2 3 4; do
        before=$(falling_cells)
        if [[ $(awk -F, '{ x[$1]; y[$2] } END { print length(x) length(y) }' <<<"$before") == 22 ]]; then
            note "a square shows no turn: dropped"
            xdotool keydown Down
            wait_until 5 "the square to leave the top rows" eval '[[ -z $(falling_cells) ]]'
            xdotool keyup Down
            wait_until 5 "the next piece" eval '[[ $(falling_cells | wc -l) == 4 ]]'
            continue
        fi
        xdotool keydown "$1" sleep 0.09 keyup "$1" # 3 ticks, less than the 6 of a key repeat
        poll_for 1 eval 'now=$(falling_cells) && [[ $(wc -l <<<"$now") == 4 && -z $(shift_of "$before" "$now") ]]' &&
            return 0
    done
    fail "$1 did not turn the piece at $(echo $before)"
}

# Down held for 1.1 s with auto-repeat on (release+press pairs after 660 ms)
# acts every 4th tick of 30 ms: 9 to 13 rows with gravity's one or two; a game
# that lost the key at the first repeat would stop at 7 or 8. After the release
# only gravity moves the piece: at most a row in 0.4 s. The first piece of a
# game, over an empty field, has room for all of it.
held_down_keeps_acting() {
    local before settled after later dx rows
    before=$(falling_cells)
    settled=$(field_cells | grep -vxF -f <(echo "$before"))
    xdotool keydown Down sleep 1.1 keyup Down
    after=$(field_cells | grep -vxF -f <(echo "$settled"))
    sleep 0.4
    later=$(field_cells | grep -vxF -f <(echo "$settled"))
    read -r dx rows <<<"$(shift_of "$before" "$after")"
    [[ $dx == 0 ]] && ((rows >= 9 && rows <= 13)) ||
        fail "Down held for 1.1 s moved the piece from $(echo $before) to $(echo $after), not 9 to 13 rows down"
    note "Down held 1.1 s with auto-repeat on: $rows rows"
    read -r dx rows <<<"$(shift_of "$after" "$later")"
    [[ $dx == 0 ]] && ((rows <= 1)) || fail "the piece went on from $(echo $after) to $(echo $later) after Down was released"
}

# side_window KEY TITLE: KEY opens the window TITLE, owned by the main window;
# a click on the main window leaves it above and with the keys; the window
# manager's close command gives the main window back. With PAUSED=1 the game
# shows its pause picture behind it, and still after it has closed.
side_window() {
    local side
    xdotool key "$1"
    wait_until 5 "\"$2\" after $1" has_window "^$2\$" ''
    side=$(window_named "^$2\$" '')
    [[ $(transient_for "$side") == "$MAIN_WINDOW" ]] || fail "\"$2\" does not belong to the main window"
    ((!PAUSED)) || field_shows "$WORK/paused.rgb" || fail "the game was not paused behind \"$2\""
    click_client 80 150
    sleep 0.3
    stacked_above "$side" "$MAIN_WINDOW" || fail "\"$2\" went below the main window after a click on it"
    wait_until 5 "\"$2\" to keep the keys after a click on the main window" is_active "$side"
    wmctrl -i -c "$side"
    wait_until 5 "\"$2\" to close" no_window "^$2\$" ''
    wait_until 5 "the main window back after closing \"$2\"" is_active "$MAIN_WINDOW"
    ((!PAUSED)) || ! poll_for 1 eval '! field_shows "$WORK/paused.rgb"' || fail "the game went on after \"$2\" closed"
    note "$1: \"$2\" above the main window, closed by the window manager"
}

# play_to_prompt NAME [KEY]: a game at speed 12 left to fall to its end, up to
# the name prompt; NAME typed into it, and KEY (Return) pressed.
play_to_prompt() {
    set_starting_speed_to_maximum
    click_start_button
    wait_until 40 'the "High Score!" prompt at game over' has_window '^High Score!' ''
    wait_until 5 "the prompt to have the keys" is_active "$(window_named '^High Score!' '')"
    xdotool type --delay 40 "$1"
    [[ -z ${2:-} ]] || { xdotool key "$2" && wait_until 5 "the prompt to close" no_window '^High Score!' ''; }
}

# Ten default records: "None", 21 spaces, a zero 32-bit score.
default_record_bytes() { for ((n = 0; n < $1; n++)); do printf 'None%21s\0\0\0\0' ''; done; }

# check_score_file NAME: record 1 holds NAME and the score of a game that fell
# straight down in columns 3 to 6 and cleared no row, 5 points a piece: a
# multiple of 5 from 5 to 90 (18 pieces); the other nine are the defaults.
check_score_file() {
    local score
    [[ $(stat -c %s "$FILE") == 290 ]] || fail "rushhs.dat is $(stat -c %s "$FILE") bytes, not 290"
    cmp -s <(printf '%-25s' "$1") <(head -c 25 "$FILE") || fail "record 1 name is '$(head -c 25 "$FILE")', not '$1' padded"
    score=$(od -An -t d4 --endian=little -j 25 -N 4 "$FILE" | tr -d ' ')
    ((score >= 5 && score <= 90 && score % 5 == 0)) || fail "record 1 score $score is not that of pieces falling straight down"
    cmp -s <(default_record_bytes 9) <(tail -c +30 "$FILE") || fail "records 2 to 10 are not the defaults"
    note "record 1: '$1' with $score points; records 2-10 default"
}

# refused_without_display LINE VARIABLE...: the game, run with these
# environment changes, says LINE alone and ends with status 1.
refused_without_display() {
    local line=$1 status
    shift
    env "$@" "$FOLDER/stonerush" >"$WORK/said" 2>&1
    status=$?
    ((status == 1)) && [[ $(cat "$WORK/said") == "$line" ]] || fail "with $*: status $status, said: $(cat "$WORK/said")"
}
echo "No display"
refused_without_display "stonerush: no display (neither WAYLAND_DISPLAY nor DISPLAY is set); run it from a graphical session" -u DISPLAY
free=473
while [[ -e /tmp/.X11-unix/X$free || -e /tmp/.X$free-lock ]]; do ((free++)); done
refused_without_display "stonerush: cannot open the display \":$free\"; run it from a graphical session" DISPLAY=:$free
note "no display, or one that is not there: one line, status 1"

# signal_ends_game: SIGTERM ends the game with status 0 within a second.
signal_ends_game() {
    local sent
    sent=$(now_ms)
    kill -TERM "$GAME_PID"
    game_ends_with 0
    (($(now_ms) - sent < 1000)) || fail "the game took $(($(now_ms) - sent)) ms to end after SIGTERM"
}

echo "Game 1: side windows, steering, music"
launch_game
PAUSED=0 side_window F2 "About Stonerush" # before any click
click_start_button
wait_until 5 "a piece in the spawn rows after START" piece_in_spawn_rows
held_down_keeps_acting
wait_until 10 "the next piece" eval '[[ $(falling_cells | wc -l) == 4 && $(falling_cells | head -n1) == *,0 ]]'
setxkbmap ru
turns_with Cyrillic_ve # the D key on a Russian keyboard
setxkbmap us
note "the D key turns the piece under a Russian layout"
PAUSED=1
side_window F2 "About Stonerush"
side_window F1 "Stonerush Help"
side_window F4 "High Scores"
click_start_button # PLAY
if [[ $SOUND == none ]]; then
    echo "SKIPPED the sound checks: no sound server to record from"
else
    start_recording
    sleep 1.5
    music=$(stop_recording)
    louder_than "$music" 0.001 || fail "no music while the game runs (RMS ${music:-none})"
    start_recording
    xdotool key ctrl+m
    sleep 2
    quiet=$(stop_recording 0.5) # silent from half a second after the key on
    louder_than "$quiet" 0.0005 && fail "the music played on after Ctrl+M (RMS $quiet)"
    note "music: RMS $music, after Ctrl+M $quiet"
fi
quit_game
cmp -s <(default_record_bytes 10) "$FILE" || fail "rushhs.dat after game 1 is not ten default records"

echo "Game 2: silent (the music kept off), speed 12, to its end, a name, kill -9"
launch_game
xdotool key ctrl+s
[[ $SOUND == none ]] || start_recording
play_to_prompt Tester Return
wait_until 5 "the game-over picture" field_shows "$WORK/game_over.rgb"
if [[ $SOUND != none ]]; then
    rms=$(stop_recording)
    louder_than "$rms" 0.0005 && fail "sound with the music kept off and sounds switched off (RMS $rms)"
    note "a whole game with the music kept off and sounds off: RMS $rms"
fi
kill -KILL "$GAME_PID"
game_ends_with 137
check_score_file Tester

echo "Game 3: SIGTERM with the name prompt open"
rm -f "$FILE"
launch_game
play_to_prompt Sig
signal_ends_game
check_score_file Sig
ls "$FOLDER" | grep -q '^rushhs\.dat\.' && fail "a temporary file was left: $(ls "$FOLDER")"

echo "Game 4: a file the game cannot read is left as it was"
{
    printf 'Keep%21s\x39\x30\0\0' ''
    default_record_bytes 9
    printf 'bytes after the records'
} >"$FILE"
cp "$FILE" "$WORK/before.dat"
chmod 200 "$FILE"
AS=() PER_USER=$HOME/.local/share/stonerush/rushhs.dat
if ((EUID == 0)); then # root reads anything
    chmod 755 "$WORK"
    mkdir -p -m700 "$WORK/nobody"
    chown -R 65534:65534 "$FOLDER" "$WORK/nobody"
    AS=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$WORK/nobody" XDG_RUNTIME_DIR="$WORK/nobody")
    PER_USER=$WORK/nobody/.local/share/stonerush/rushhs.dat
fi
MESSAGE=1 launch_game "${AS[@]}"
play_to_prompt Lost Return
quit_game
cmp -s "$WORK/before.dat" "$FILE" || fail "the unreadable file was changed"
[[ $(stat -c %a "$FILE") == 200 ]] || fail "the unreadable file's mode is now $(stat -c %a "$FILE")"
[[ $(head -c 4 "$PER_USER") == Lost ]] || fail "the name is not in the per-user file $PER_USER"
note "the unreadable file kept its $(stat -c %s "$FILE") bytes; the name went to the per-user file"

echo "Game 5: nowhere to save (a read-only folder, no HOME)"
rm -f "$FILE"
chmod 555 "$FOLDER"
MESSAGE=left launch_game "${AS[@]}" env -u HOME -u XDG_DATA_HOME
signal_ends_game
said_before=$(wc -l <"$WORK/game.log")
MESSAGE=1 launch_game "${AS[@]}" env -u HOME -u XDG_DATA_HOME
play_to_prompt Gone
signal_ends_game
said=$(tail -n +$((said_before + 1)) "$WORK/game.log" | grep -F rushhs.dat)
[[ $(wc -l <<<"$said") == 1 && $said == "stonerush: the high scores could not be saved to $FILE: "*"Permission denied" ]] ||
    fail "SIGTERM with nowhere to save did not say one line about it: $said"
[[ ! -e $FILE ]] || fail "a score file was made in the read-only folder"
note "SIGTERM at the message and at the prompt: ended at once; said \"$said\""

echo "PASS: end-to-end games"
PASSED=1
