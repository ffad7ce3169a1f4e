# Sourced by the end-to-end tests: a private X server and sound server, and the
# few ways a player has of seeing and touching the game: windows by name, the
# pixels on the screen, the mouse and the keys. Nothing here reaches inside
# the program.

SKIP=77 # CTest's SKIP_RETURN_CODE for this test

fail() {
    echo "FAIL: $*" >&2
    [[ -n "${WORK:-}" ]] && echo "      screenshots and logs kept in $WORK" >&2
    exit 1
}
note() { echo "  - $*"; }

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# wait_until SECONDS WHAT COMMAND...: polls COMMAND every 50 ms until it
# succeeds; fails the test with WHAT when the deadline passes or the game dies.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$(($(now_ms) + seconds * 1000))
    until "$@"; do
        if [[ -n "${GAME_PID:-}" ]] && ! kill -0 "$GAME_PID" 2>/dev/null && [[ "${GAME_MAY_EXIT:-0}" != 1 ]]; then
            fail "the game ended while waiting for: $what (see $WORK/game.log)"
        fi
        (($(now_ms) < deadline)) || fail "gave up after ${seconds}s waiting for: $what"
        sleep 0.05
    done
}

# Starts Xvfb on a free display (it picks the number itself) with key
# auto-repeat on, as a player has it, the openbox window manager on it, and a
# PulseAudio daemon with a null sink to record from.
start_session() {
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null || {
        echo "SKIP: Xvfb or xdotool is not installed"
        exit $SKIP
    }
    local tool
    for tool in openbox wmctrl xprop xwininfo setxkbmap import stream pactl parecord sox od cmp; do
        command -v "$tool" >/dev/null || fail "$tool is missing (bash tools/install-deps.sh installs it)"
    done
    mkdir -p "$WORK/home"
    mkdir -m700 -p "$WORK/runtime"
    export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/runtime
    unset PULSE_SERVER QT_QPA_PLATFORM WAYLAND_DISPLAY
    trap stop_session EXIT

    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    wait_until 20 "Xvfb to choose a display" test -s "$WORK/display"
    export DISPLAY=:$(head -n1 "$WORK/display")
    note "X server on $DISPLAY"
    openbox >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until 20 "openbox to manage the screen" eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

    start_sound
}

# The sound server to record from. Where PipeWire's Pulse server runs, a null
# sink is loaded into it and made the default while the test runs; otherwise a
# private PulseAudio with only a null sink is started, touching no sound card;
# with neither, SOUND=none and the sound check is skipped.
SINK=test_null SOUND=pulse
USER_PULSE=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native # before start_session moves XDG_RUNTIME_DIR
pipewire_pulse() {
    [[ $(dpkg-query -W -f='${db:Status-Status}' pipewire-pulse 2>/dev/null) == installed ]] &&
        PULSE_SERVER=unix:$USER_PULSE pactl info 2>/dev/null | grep -q 'on PipeWire'
}
start_sound() {
    if pipewire_pulse; then
        export PULSE_SERVER=unix:$USER_PULSE
        SINK=stonerush_test_$$ SOUND=pipewire
        DEFAULT_SINK=$(pactl get-default-sink)
        SINK_MODULE=$(pactl load-module module-null-sink sink_name=$SINK) || fail "PipeWire's Pulse server refused a null sink"
        pactl set-default-sink "$SINK"
        note "sound: null sink $SINK in PipeWire's Pulse server"
    elif command -v pulseaudio >/dev/null; then
        pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target=file:"$WORK/pulse.log" \
            -L module-native-protocol-unix -L "module-null-sink sink_name=$SINK" 2>>"$WORK/pulse.log" ||
            fail "PulseAudio did not start (see $WORK/pulse.log)"
        wait_until 20 "PulseAudio to answer" pactl info >/dev/null 2>&1
        PULSE_PID=$(cat "$XDG_RUNTIME_DIR/pulse/pid") # kept: the folder may be gone by exit
    else
        SOUND=none
        note "no sound server to record from (no PipeWire Pulse server runs, PulseAudio is not installed)"
    fi
}

stop_session() {
    local pid
    for pid in ${RECORDER_PID:-} ${GAME_PID:-} ${WM_PID:-}; do kill "$pid" 2>/dev/null || true; done
    for pid in ${PULSE_PID:-} ${XVFB_PID:-}; do kill "$pid" 2>/dev/null || true; done
    if [[ -n ${SINK_MODULE:-} ]]; then
        pactl set-default-sink "$DEFAULT_SINK"
        pactl unload-module "$SINK_MODULE"
    fi
    wait 2>/dev/null
    return 0
}

start_recording() {
    [[ $SOUND != none ]] || return 0
    parecord --latency-msec=20 -d "$SINK.monitor" --file-format=wav "$WORK/sound.wav" &
    RECORDER_PID=$!
}

# Stops the recorder and prints the RMS amplitude of what it heard.
stop_recording() {
    [[ $SOUND != none ]] || return 0
    kill -INT "$RECORDER_PID" 2>/dev/null
    # Often called as $(stop_recording), where wait cannot see the recorder:
    # the file is complete only once it has gone.
    while kill -0 "$RECORDER_PID" 2>/dev/null; do sleep 0.05; done
    RECORDER_PID=
    sox "$WORK/sound.wav" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'
}

# --- windows ----------------------------------------------------------------

# Prints the game's visible window whose title matches the pattern NAME and
# whose width is WIDTH (any width when WIDTH is empty). Windows are listed by
# class: the splash has no caption of its own and xdotool's name search misses it.
window_named() {
    local name=$1 width=$2 id
    for id in $(xdotool search --onlyvisible --class stonerush 2>/dev/null); do
        [[ $(xdotool getwindowname "$id" 2>/dev/null) =~ $name ]] || continue
        if [[ -z "$width" || $(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n 's/^WIDTH=//p') == "$width" ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
has_window() { window_named "$@" >/dev/null; }
no_window() { ! window_named "$@" >/dev/null; }

# Sets X Y WIDTH HEIGHT of window ID's client area on the screen in the shell
# variables WX WY WW WH (xwininfo: xdotool's position is off by the frame).
window_geometry() {
    local line
    while read -r line; do
        case $line in
        "Absolute upper-left X:"*) WX=${line##* } ;; "Absolute upper-left Y:"*) WY=${line##* } ;;
        "Width:"*) WW=${line##* } ;; "Height:"*) WH=${line##* } ;;
        esac
    done < <(xwininfo -id "$1")
}

# What the window manager says: the window with the keyboard focus, the window
# a window belongs to, whether window A lies above window B, and its close
# command (as the close box).
active_window() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }')"; }
is_active() { [[ $(active_window) == "$1" ]]; }
transient_for() { printf '%d' "$(xprop -id "$1" WM_TRANSIENT_FOR | awk '{ print $NF }')"; }
stacked_above() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -s ', ' '\n' | grep '^0x' |
        while read -r id; do printf '%d\n' "$id"; done | awk -v a="$1" -v b="$2" '
        $0 == a { ia = NR } $0 == b { ib = NR } END { exit !(ia > ib && ib > 0) }'
}
wm_close() { wmctrl -i -c "$1"; }
# No --sync: it waits for the pointer to move, which never happens when it is
# already there. The server handles the motion before the click anyway.
click_at() { xdotool mousemove "$1" "$2" click 1; }

# --- pixels -----------------------------------------------------------------

# shoot [WINDOW]: a screenshot of one window (0.1 s), or of the whole screen.
shoot() { import -window "${1:-root}" -depth 8 "ppm:$WORK/screen.ppm"; }

# region X Y W H OUT: the pixels of a rectangle of the last shot as raw RGB.
region() { stream -map rgb -storage-type char -extract "$3x$4+$1+$2" "$WORK/screen.ppm" "$5"; }

# Raw RGB of a picture file, for comparison with the screen.
picture_rgb() { stream -map rgb -storage-type char "$1" "$2"; }

# How many bytes two equally sized raw pictures differ in.
bytes_differing() { cmp -l "$1" "$2" 2>/dev/null | wc -l; }

# cells_in FIELD.RGB: the occupied cells "x,y" of a 160 x 288 playfield, one a
# line, top row first. A cell counts as a block when the pixel 4 px in from its
# left edge, half way down (inside the tile's bright left triangle), is not
# near black.
cells_in() {
    od -An -v -tu1 -w480 "$1" | awk 'NR % 16 == 9 {
        for (c = 0; c < 10; c++) {
            i = 3 * (16 * c + 4) + 1
            if ($i + $(i + 1) + $(i + 2) > 90) print c "," int(NR / 16)
        }
    }'
}
