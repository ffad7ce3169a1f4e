# Sourced by play_test.sh after session.sh: what the player sees of Stonerush
# and does with it. Positions are in the main window's client area, which
# lies below its menu bar: playfield interior at (2, 2) of 160 x 288 with
# 16-px cells, preview interior at (170, 114) of 128 x 128, the START/PAUSE/
# PLAY button at (168, 256) 113 x 41, the starting-speed scroll bar at
# (176, 216) 129 x 25.

launch_game() {
    GAME_MAY_EXIT=0
    (cd "$WORK" && exec "$FOLDER/stonerush" >>"$WORK/game.log" 2>&1) &
    GAME_PID=$!
    # The splash has a frame without caption text.
    wait_until 20 "the splash window" has_window '^ $' 298
    local splash
    splash=$(window_named '^ $' 298)
    window_geometry "$splash"
    ((WX == (1024 - 298) / 2 && WY == (768 - 298) / 2)) || fail "the splash is not centred ($WX,$WY)"
    wait_until 5 "the splash to have the keyboard focus" is_active "$splash"
    xprop -id "$splash" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the splash is listed in the task bar"
    [[ -n "${STONERUSH_E2E_SPLASH_SHOT:-}" ]] && import -window root "$STONERUSH_E2E_SPLASH_SHOT"
    xdotool key Right F1 # no character: the splash stays
    sleep 0.3
    has_window '^ $' 298 || fail "a key that types nothing closed the splash"
    has_window '^Stonerush$' 319 && fail "the main window is up before the splash was dismissed"
    xdotool key space
    wait_until 20 "the main window after a key on the splash" has_window '^Stonerush$' 319
    no_window '^ $' 298 || fail "the splash stayed up"
    FORM=$(window_named '^Stonerush$' 319)
    wait_until 5 "the main window to have the keyboard focus" is_active "$FORM"
    window_geometry "$FORM"
    ((WW == 319 && WH > 302)) || fail "the main window is ${WW}x$WH, not a 319 x 302 client area under a menu bar"
    FORM_X=$WX
    FORM_Y=$WY
    MENU=$((WH - 302)) # the client area is the bottom 302 rows, under the menu bar
}

# Positions in the client area: clicked on the screen, read from a shot of
# the main window.
click_client() { click_at $((FORM_X + $1)) $((FORM_Y + MENU + $2)); }
client_region() { region "$1" $((MENU + $2)) "$3" "$4" "$5"; }

click_command1() { click_client $((168 + 56)) $((256 + 20)); }

quit_game() {
    wait_until 5 "the main window to have the keyboard focus" is_active "$FORM"
    GAME_MAY_EXIT=1
    xdotool key F3
    wait_until 20 "the game to end after Quit" eval '! kill -0 $GAME_PID 2>/dev/null'
    wait "$GAME_PID"
    local status=$?
    GAME_PID=
    ((status == 0)) || fail "the game exited with status $status after Quit"
}

# The occupied playfield cells, one "x,y" a line, from a fresh screenshot.
field_cells() {
    shoot "$FORM"
    client_region 2 2 160 288 "$WORK/field.rgb"
    cells_in "$WORK/field.rgb"
}

# Exactly one piece of four cells, within columns 3 to 6, touching row 0.
piece_in_spawn_rows() {
    SPAWNED=$(field_cells)
    [[ $(wc -l <<<"$SPAWNED") == 4 ]] || return 1
    awk -F, '$1 < 3 || $1 > 6 || $2 > 1 { bad = 1 } $2 == 0 { top = 1 } END { exit bad || !top }' <<<"$SPAWNED"
}

# piece_moved_from CELLS DX: the four cells now on screen are CELLS moved DX
# columns, and down by at most two rows (the game ran for a moment or two
# since CELLS were seen; at speed 0 a piece falls a row every 780 ms).
piece_moved_from() {
    [[ $(column_shift "$1" "$(field_cells)" 2) == "$2" ]]
}

# shift_of BEFORE NOW: "DX DY" when the cells NOW are the cells BEFORE moved
# DX columns and DY rows; nothing when they are not the same piece so moved.
shift_of() {
    awk -F, -v before="$(echo $1)" -v now="$(echo $2)" 'BEGIN {
        n = split(before, b, " "); if (split(now, a, " ") != n || n != 4) exit
        split(b[1], b1, ","); split(a[1], a1, ",")
        dx = a1[1] - b1[1]; dy = a1[2] - b1[2]
        for (k = 1; k <= n; k++) {
            split(b[k], p, ","); split(a[k], q, ",")
            if (q[1] != p[1] + dx || q[2] != p[2] + dy) exit
        }
        print dx, dy
    }'
}

# column_shift BEFORE NOW MAXDROP: the columns moved, when NOW is BEFORE moved
# sideways and down by 0 to MAXDROP rows.
column_shift() {
    local dx dy
    read -r dx dy <<<"$(shift_of "$1" "$2")"
    [[ -n $dy ]] && ((dy >= 0 && dy <= $3)) && echo "$dx"
}

# A tap of Left: held for about three ticks of 30 ms, released well before the
# game's 180 ms key repeat could move it a second time. A tick lost to a busy
# machine only means the tap did nothing and is made again.
move_left_once() {
    local tries shift
    for tries in 1 2 3; do
        xdotool keydown Left sleep 0.09 keyup Left # one xdotool: starting one takes ~0.1 s
        poll_for 2 piece_shifted_sideways
        shift=$(column_shift "$SPAWNED" "$MOVED" 3)
        if [[ $shift == 0 ]]; then
            SPAWNED=$MOVED
            continue
        fi
        [[ $shift == -1 ]] || fail "Left moved the piece from $(echo $SPAWNED) to $(echo $MOVED)"
        return 0
    done
    fail "Left did not move the piece (it stayed at $(echo $MOVED))"
}
piece_shifted_sideways() {
    MOVED=$(field_cells)
    local shift
    shift=$(column_shift "$SPAWNED" "$MOVED" 3)
    [[ -n $shift && $shift != 0 ]]
}

# side_window KEY TITLE [paused]: KEY on the main window opens the side window
# TITLE (over a game it pauses, with "paused"); a click on the main window leaves it on top
# and with the keys; the window manager's close command gives the main window
# back, still paused. Set SIDE_SHOT to keep a screenshot after the click.
side_window() {
    local key=$1 title=$2 behind=${3:-} side
    xdotool key "$key"
    wait_until 5 "the \"$title\" window after $key" has_window "^$title\$" ''
    side=$(window_named "^$title\$" '')
    [[ $(transient_for "$side") == "$FORM" ]] || fail "\"$title\" does not belong to the main window"
    [[ $behind != paused ]] || paused_pictures_shown || fail "the game was not paused behind \"$title\""
    click_client 80 150
    sleep 0.3
    stacked_above "$side" "$FORM" || fail "\"$title\" went below the main window after a click on it"
    wait_until 5 "\"$title\" to keep the keys after a click on the main window" is_active "$side"
    [[ -n "${SIDE_SHOT:-}" ]] && import -window root "$SIDE_SHOT"
    wm_close "$side"
    wait_until 5 "the \"$title\" window to close" no_window "^$title\$" ''
    wait_until 5 "the main window back after closing \"$title\"" is_active "$FORM"
    [[ $behind != paused ]] || keeps_for 1 "the paused pictures after closing \"$title\"" paused_pictures_shown
    note "$key: \"$title\" above the main window, closed by the window manager"
}

# The falling piece: the occupied cells of the top 12 rows (a landed piece
# lies lower in the few pieces a test plays).
falling_cells() { field_cells | awk -F, '$2 < 12'; }
piece_at_top() { [[ $(falling_cells | awk -F, '$2 <= 1' | wc -l) == 4 ]]; }

# turns_with KEYSYM: a tap of that key turns the falling piece (its cells are
# no longer a shifted copy). A square looks the same turned: it is dropped
# with Down held until another piece comes.
turns_with() {
    local tries before
    for tries in 1 2 3 4; do
        before=$(falling_cells)
        xdotool keydown "$1" sleep 0.09 keyup "$1"
        turned() {
            TURNED=$(falling_cells)
            [[ $(wc -l <<<"$TURNED") == 4 && -z $(shift_of "$before" "$TURNED") ]]
        }
        poll_for 1 turned && return 0
        [[ -n $(column_shift "$before" "$TURNED" 0) ]] || continue # a tap between two polls
        note "a square does not show a turn: dropped"
        xdotool keydown Down sleep 3 keyup Down
        wait_until 5 "the next piece" piece_at_top
    done
    fail "$1 did not turn the piece"
}

# Down held for 1.1 s with the X server's auto-repeat on (its release+press
# pairs start after 660 ms) acts every 4th tick of 30 ms: 10 rows, plus one or
# two of gravity (a row per 26 ticks at speed 0); a game that lost the key at
# the first repeat would stop at 7 or 8. After the release only gravity moves
# the piece. Leaves the cells in MOVED.
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
    read -r dx rows <<<"$(shift_of "$after" "$later")"
    [[ $dx == 0 ]] && ((rows <= 1)) || fail "the piece went on from $(echo $after) to $(echo $later) after Down was released"
    note "Down held 1.1 s with auto-repeat on: $(shift_of "$before" "$after" | cut -d' ' -f2) rows; then stopped"
    MOVED=$later
}

# rms_over SECONDS: the RMS amplitude of what the sound server plays meanwhile.
rms_over() {
    start_recording
    sleep "$1"
    stop_recording
}
louder_than() { awk -v r="${1:-0}" -v t="$2" 'BEGIN { exit !(r > t) }'; }

# poll_for SECONDS COMMAND...: like wait_until, but returns 1 at the deadline.
poll_for() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# keeps_for SECONDS WHAT COMMAND...: COMMAND holds on every look for SECONDS.
keeps_for() {
    local until_ms=$(($(now_ms) + $1 * 1000)) what=$2
    shift 2
    while (($(now_ms) < until_ms)); do
        "$@" || fail "$what did not last"
        sleep 0.05
    done
}

# field_shows PICTURE.RGB: the playfield shows that 160 x 288 picture.
field_shows() {
    shoot "$FORM"
    client_region 2 2 160 288 "$WORK/field.rgb"
    (($(bytes_differing "$WORK/field.rgb" "$1") < 1400))
}

paused_pictures_shown() {
    field_shows "$WORK/paused.rgb" || return 1
    client_region 170 114 128 128 "$WORK/preview.rgb"
    (($(bytes_differing "$WORK/preview.rgb" "$WORK/paused_next.rgb") < 500))
}

enough_blocks_settled() { (($(field_cells | wc -l) >= 20)); }

# Clicks the scroll bar's right arrow more often than its range (0 to 12), then
# waits until its thumb has moved and come to rest at the right end.
set_starting_speed_to_maximum() {
    local bar=(176 216 129 25)
    shoot "$FORM"
    client_region "${bar[@]}" "$WORK/bar_at_0.rgb"
    xdotool mousemove $((FORM_X + bar[0] + bar[2] - 8)) $((FORM_Y + MENU + bar[1] + bar[3] / 2))
    xdotool click --repeat 16 --delay 60 1
    : >"$WORK/bar_before.rgb"
    bar_at_rest() {
        shoot "$FORM"
        client_region "${bar[@]}" "$WORK/bar_now.rgb"
        local settled=1
        cmp -s "$WORK/bar_now.rgb" "$WORK/bar_before.rgb" || settled=0
        cmp -s "$WORK/bar_now.rgb" "$WORK/bar_at_0.rgb" && settled=0
        cp "$WORK/bar_now.rgb" "$WORK/bar_before.rgb"
        ((settled))
    }
    wait_until 5 "the speed scroll bar to move to its end" bar_at_rest
}

# Ten default records: "None", 21 spaces, a zero 32-bit score.
default_record_bytes() {
    local n
    for ((n = 0; n < $1; n++)); do printf 'None%21s\0\0\0\0' ''; done
}

# check_score_file FILE NAME: record 1 holds NAME and the game's score, the
# other nine are the defaults. The game fell straight down in columns 3 to 6
# and could clear no row, so its score is 5 points per landed piece: a
# multiple of 5, at least 5, and at most 18 pieces (72 cells / 4) = 90.
check_score_file() {
    local file=$1 name=$2
    [[ $(stat -c %s "$file") == 290 ]] || fail "rushhs.dat is $(stat -c %s "$file") bytes, not 290"
    cmp -s <(printf '%-25s' "$name") <(head -c 25 "$file") ||
        fail "record 1 name is '$(head -c 25 "$file")', not '$name' padded with spaces"
    local score
    score=$(od -An -t d4 --endian=little -j 25 -N 4 "$file" | tr -d ' ')
    ((score >= 5 && score <= 90 && score % 5 == 0)) ||
        fail "record 1 score $score is not what a game of pieces falling straight down scores"
    cmp -s <(default_record_bytes 9) <(tail -c +30 "$file") || fail "records 2 to 10 are not the defaults"
    note "record 1: '$name' with $score points; records 2-10 default"
}
