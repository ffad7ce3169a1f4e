# Sourced after session.sh by the end-to-end test and tools/figures.sh: what
# the player sees of Stonerush and does with it. Positions are in the main
# window's client area, below its menu bar, at 1x: the playfield's inside at
# (2, 2), 160 x 288 in 16-px cells; the START/PAUSE/PLAY button at (168, 256),
# 113 x 41; the starting-speed scroll bar at (176, 216), 129 x 25. Z is the
# zoom step the windows are expected at (1 unless set): every length times Z.
Z=${Z:-1}

# launch_game [COMMAND...]: runs $FOLDER/stonerush (under COMMAND) and gets
# past its splash with a key, checking how the splash behaves (centred on the
# screen, SCREEN_SIZE or 1024x768); with MESSAGE=1
# a message (about the score file) comes first and takes Return, with
# MESSAGE=left it is left open and nothing more is done.
# Sets MAIN_WINDOW, WINDOW_X WINDOW_Y and MENU (the menu bar's height).
launch_game() {
    (cd "$WORK" && exec "$@" "$FOLDER/stonerush" >>"$WORK/game.log" 2>&1) &
    GAME_PID=$!
    local splash box screen=${SCREEN_SIZE:-1024x768}
    wait_until 20 "the splash" has_window '^ $' $((298 * Z)) # a frame without caption text
    splash=$(window_named '^ $' $((298 * Z)))
    window_geometry "$splash"
    ((WX == (${screen%x*} - 298 * Z) / 2 && WY == (${screen#*x} - 298 * Z) / 2)) ||
        fail "the splash is not centred ($WX,$WY)"
    xprop -id "$splash" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the splash is listed in the task bar"
    wait_until 5 "the splash to have the keys" is_active "$splash"
    xdotool key Right F1 # no character: the splash stays
    sleep 0.3
    has_window '^ $' $((298 * Z)) || fail "a key that types nothing closed the splash"
    has_window '^Stonerush$' $((319 * Z)) && fail "the main window is up before the splash was dismissed"
    xdotool key space
    if [[ -n ${MESSAGE:-} ]]; then
        wait_until 20 "a message about the score file" has_window '^Stonerush$' ''
        box=$(window_named '^Stonerush$' '')
        has_window '^Stonerush$' $((319 * Z)) && fail "the main window came up without a message about the score file"
        wait_until 5 "the message to have the keys" is_active "$box"
        [[ $MESSAGE == left ]] && return
        xdotool key Return
    fi
    wait_until 20 "the main window after a key on the splash" has_window '^Stonerush$' $((319 * Z))
    no_window '^ $' $((298 * Z)) || fail "the splash stayed up"
    MAIN_WINDOW=$(window_named '^Stonerush$' $((319 * Z)))
    wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
    main_window_at "$Z"
}

# main_window_at STEP: the main window has a client area of 319 x 302 times
# STEP under its menu bar; sets Z, WINDOW_X WINDOW_Y and MENU.
main_window_at() {
    Z=$1
    window_geometry "$MAIN_WINDOW"
    ((WW == 319 * Z && WH > 302 * Z)) ||
        fail "the main window is ${WW}x$WH, not a $((319 * Z)) x $((302 * Z)) client area under a menu bar"
    WINDOW_X=$WX WINDOW_Y=$WY MENU=$((WH - 302 * Z))
}

quit_game() {
    wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
    xdotool key F3
    game_ends_with 0
}
# game_ends_with STATUS: the game ends within 20 s, with that exit status.
game_ends_with() {
    poll_for 20 eval '! kill -0 $GAME_PID' 2>/dev/null || fail "the game did not end" # no "Killed" line
    wait "$GAME_PID"
    local status=$?
    GAME_PID=
    ((status == $1)) || fail "the game ended with status $status, not $1"
}

# No --sync: it would wait forever when the pointer is already there.
click_client() { xdotool mousemove $((WINDOW_X + $1 * Z)) $((WINDOW_Y + MENU + $2 * Z)) click 1; }
client_region() { region $(($1 * Z)) $((MENU + $2 * Z)) $(($3 * Z)) $(($4 * Z)) "$5"; }
click_start_button() { click_client $((168 + 56)) $((256 + 20)); }

# The occupied playfield cells "x,y", one a line, top row first, from a fresh
# shot: a cell holds a block when its pixel 4 px in from the left, half way
# down (in the tile's bright left triangle), is not near black.
field_cells() {
    shoot "$MAIN_WINDOW"
    client_region 2 2 160 288 "$WORK/field.rgb"
    od -An -v -tu1 -w$((480 * Z)) "$WORK/field.rgb" | awk -v z="$Z" 'NR % (16 * z) == 8 * z + 1 {
        for (c = 0; c < 10; c++) {
            i = 3 * (16 * c + 4) * z + 1
            if ($i + $(i + 1) + $(i + 2) > 90) print c "," int(NR / (16 * z))
        }
    }'
}
# field_shows PICTURE.RGB: the playfield shows that 160 x 288 picture (times Z).
field_shows() {
    shoot "$MAIN_WINDOW"
    client_region 2 2 160 288 "$WORK/field.rgb"
    (($(cmp -l "$WORK/field.rgb" "$1" | wc -l) < 1400 * Z * Z))
}

# Exactly one piece of four cells, within columns 3 to 6, touching row 0.
piece_in_spawn_rows() {
    field_cells | awk -F, '$1 < 3 || $1 > 6 || $2 > 1 { bad = 1 } $2 == 0 { top = 1 } END { exit bad || !top || NR != 4 }'
}

# Clicks the scroll bar's right arrow more often than its range (0 to 12), then
# waits until its thumb has left the left end and come to rest.
set_starting_speed_to_maximum() {
    local bar=(176 216 129 25)
    shoot "$MAIN_WINDOW"
    client_region "${bar[@]}" "$WORK/bar_at_0.rgb"
    cp "$WORK/bar_at_0.rgb" "$WORK/bar.rgb"
    xdotool mousemove $((WINDOW_X + (bar[0] + bar[2] - 8) * Z)) $((WINDOW_Y + MENU + (bar[1] + bar[3] / 2) * Z))
    xdotool click --repeat 16 --delay 60 1
    bar_at_rest() {
        mv "$WORK/bar.rgb" "$WORK/bar_before.rgb"
        shoot "$MAIN_WINDOW"
        client_region "${bar[@]}" "$WORK/bar.rgb"
        cmp -s "$WORK/bar.rgb" "$WORK/bar_before.rgb" && ! cmp -s "$WORK/bar.rgb" "$WORK/bar_at_0.rgb"
    }
    wait_until 5 "the speed scroll bar to move to its end" bar_at_rest
}
