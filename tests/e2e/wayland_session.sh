# Sourced after session.sh and game_views.sh by the Wayland end-to-end test and
# tools/figures.sh: a headless sway drawing in software, its windows floating
# as on a desktop, and the ways a player has of seeing and touching a program
# there, replacing the X ones: windows from the compositor's tree (an id is
# sway's), the screen from grim, keys from wtype's virtual keyboard, clicks
# from the seat's cursor with a virtual mouse (helper wayland_pointer). Lengths
# are device pixels, the compositor's logical ones times SCALE, as in the
# screenshots; Z counts device pixels per pixel of the 1x layout. sway refuses
# to run as root: as root, it and the programs under it run as nobody.
SCALE=${SCALE:-1}

# start_sway POINTER_HELPER: the compositor on a screen of SCREEN_SIZE (1920x1080
# unless set) at SCALE, its mouse, and PLAYER, the command prefix that runs a
# program in its session.
start_sway() {
    local tool runtime=$WORK/player-runtime
    for tool in sway swaymsg wtype grim; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" && exit 77; }
    done
    for tool in jq stream cmp; do
        command -v "$tool" >/dev/null || fail "$tool is missing (bash tools/install-deps.sh installs it)"
    done
    chmod 755 "$WORK"
    mkdir -p "$WORK/player" && mkdir -m700 -p "$runtime"
    PLAYER=(env -i PATH="$PATH" HOME="$WORK/player" XDG_RUNTIME_DIR="$runtime")
    if ((EUID == 0)); then
        chown 65534:65534 "$WORK/player" "$runtime"
        PLAYER=(setpriv --reuid=65534 --regid=65534 --clear-groups "${PLAYER[@]}")
        "${PLAYER[@]}" test -x "$WORK" ||
            fail "nobody cannot reach $WORK: a folder above it is closed to others (TMPDIR=${TMPDIR:-unset})"
    fi
    printf '%s\n' "output HEADLESS-1 resolution ${SCREEN_SIZE:-1920x1080} scale $SCALE" \
        'for_window [app_id=".*"] floating enable' 'xwayland disable' >"$WORK/sway.conf"
    trap stop_sway EXIT
    "${PLAYER[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
    SWAY_PID=$!
    wait_until 20 "sway to take clients" eval 'compgen -G "$runtime/sway-ipc.*" >/dev/null'
    SWAY_IPC=$(echo "$runtime"/sway-ipc.*)
    SWAY_DISPLAY=$(basename "$(compgen -G "$runtime/wayland-[0-9]")")
    PLAYER+=(WAYLAND_DISPLAY="$SWAY_DISPLAY")
    in_sway "$1" >"$WORK/pointer.log" 2>&1 &
    POINTER_PID=$!
    wait_until 5 "the virtual mouse" grep -q ready "$WORK/pointer.log"
}
stop_sway() {
    stop ${POINTER_PID:-} ${GAME_PID:-} ${SWAY_PID:-}
    POINTER_PID= SWAY_PID=
    stop_session
}
# in_sway COMMAND...: one of our tools (swaymsg, wtype, grim) on the compositor.
in_sway() { WAYLAND_DISPLAY=$WORK/player-runtime/$SWAY_DISPLAY SWAYSOCK=$SWAY_IPC "$@"; }

# The game's windows, one a line: ID FOCUSED X Y WIDTH HEIGHT APP_ID SHELL PID, a
# tab and the NAME; the position and size are those of the client area.
sway_windows() {
    in_sway swaymsg -t get_tree -r | jq -r --argjson s "$SCALE" '.. | objects | select(has("app_id")) |
        "\(.id) \(.focused) \((.rect.x + .window_rect.x) * $s) \((.rect.y + .window_rect.y) * $s)" +
        " \(.window_rect.width * $s) \(.window_rect.height * $s) \(.app_id) \(.shell) \(.pid)\t\(.name)"'
}
window_named() {
    sway_windows | awk -F '\t' -v name="$1" -v width="$2" '{ split($1, f, " ") }
        $2 ~ name && (width == "" || f[5] == width) { print f[1]; found = 1; exit } END { exit !found }'
}
window_geometry() { read -r WX WY WW WH < <(sway_windows | awk -v id="$1" '$1 == id { print $3, $4, $5, $6 }'); }
is_active() { sway_windows | grep -q "^$1 true "; }
# stacked_above A B: window A lies above window B.
stacked_above() {
    in_sway swaymsg -t get_tree -r | jq -e --argjson a "$1" --argjson b "$2" '[.. | objects |
        select(.type? == "workspace") | .floating_nodes | map(.id) | select(index($a) and index($b)) |
        index($a) > index($b)] | any' >/dev/null
}
close_window() { in_sway swaymsg -q "[con_id=$1] kill"; }

# shoot [ID]: the screen, or one window (its place asked of the compositor but
# for the main window's, known from main_window_at), 0.3 s.
shoot() {
    local area=()
    if [[ -n ${1:-} && $1 == "${MAIN_WINDOW:-}" ]]; then
        area=(-g "$((WINDOW_X / SCALE)),$((WINDOW_Y / SCALE)) $((319 * Z / SCALE))x$(((302 * Z + MENU) / SCALE))")
    elif [[ -n ${1:-} ]]; then
        window_geometry "$1" && area=(-g "$((WX / SCALE)),$((WY / SCALE)) $((WW / SCALE))x$((WH / SCALE))")
    fi
    in_sway grim "${area[@]}" -t ppm "$WORK/screen.ppm"
}
# A click at a place on the screen; the cursor then goes to the corner, out of
# the screenshots (grim draws it).
click_at() {
    in_sway swaymsg -q "seat - cursor set $(($1 / SCALE)) $(($2 / SCALE)), seat - cursor press button1," \
        "seat - cursor release button1, seat - cursor set 0 0"
}
click_client() { click_at $((WINDOW_X + $1 * Z)) $((WINDOW_Y + MENU + $2 * Z)); }

# keys KEY...: taps each key (ctrl+KEY with Ctrl held). A fresh virtual
# keyboard's first key can be lost while the program takes its keymap: the
# first comes after 0.3 s. hold KEY MS: holds KEY down for MS milliseconds.
keys() {
    local args=() key
    for key; do
        if [[ $key == ctrl+* ]]; then args+=(-M ctrl -k "${key#ctrl+}" -m ctrl -s 50); else args+=(-k "$key" -s 50); fi
    done
    in_sway wtype -s 300 "${args[@]}"
}
hold() { in_sway wtype -s 300 -P "$1" -s "$2" -p "$1"; }

# launch_natively [VARIABLE=VALUE...]: the game started as the player, with
# these settings, and past its splash with a key (F1 first: a key that types
# nothing leaves it); with MESSAGE=1 a message about the score file comes
# before the main window and takes Return. Sets MAIN_WINDOW, WINDOW_X WINDOW_Y
# and MENU at Z, and GAME_PID (the game itself: the player's prefix ends in exec).
launch_natively() {
    (cd "$WORK" && exec "${PLAYER[@]}" "$@" "$FOLDER/stonerush" >>"$WORK/game.log" 2>&1) &
    GAME_PID=$!
    wait_until 20 "the splash" has_window '^ $' $((298 * Z))
    wait_until 5 "the splash to have the keys" is_active "$(window_named '^ $' $((298 * Z)))"
    keys F1
    sleep 0.3
    has_window '^ $' $((298 * Z)) || fail "a key that types nothing closed the splash"
    keys x
    if [[ -n ${MESSAGE:-} ]]; then
        wait_until 20 "a message about the score file" has_window '^Stonerush$' ''
        has_window '^Stonerush$' $((319 * Z)) && fail "the main window came up before the message"
        wait_until 5 "the message to have the keys" is_active "$(window_named '^Stonerush$' '')"
        keys Return
    fi
    wait_until 20 "the main window after a key on the splash" has_window '^Stonerush$' $((319 * Z))
    no_window '^ $' '' || fail "the splash stayed up"
    MAIN_WINDOW=$(window_named '^Stonerush$' $((319 * Z)))
    wait_until 5 "the main window to have the keys" is_active "$MAIN_WINDOW"
    main_window_at "$Z"
}
