# Sourced by the end-to-end test, tools/figures.sh and packaging/check_package.sh:
# a private X server under openbox and a sound server to record from, and the
# ways a player has of seeing and touching a program: windows by name, the
# pixels on the screen, the mouse and the keys. Nothing here reaches inside it.
# The caller sets WORK to a scratch folder; it is removed when the caller sets
# PASSED=1, and kept (with the logs) otherwise.

fail() { echo -e "FAIL: $*\n      logs and the last screenshot kept in $WORK" >&2 && exit 1; }
note() { echo "  - $*"; }
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# poll_for SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds;
# returns 1 at the deadline. wait_until SECONDS WHAT COMMAND... fails the test
# there instead, or as soon as the game ($GAME_PID, when set) has ended.
poll_for() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}
wait_until() {
    local seconds=$1 what=$2
    shift 2
    poll_for "$seconds" game_alive_and "$@" || fail "gave up after ${seconds}s waiting for: $what"
}
game_alive_and() {
    [[ -z "${GAME_PID:-}" ]] || kill -0 "$GAME_PID" 2>/dev/null ||
        fail "the game ended while waiting for: $what (see $WORK/game.log)"
    "$@"
}

# Xvfb on a free display (it picks the number itself and names it once it
# accepts clients) with key auto-repeat on, as a player has it; openbox; sound.
# The screen is SCREEN_SIZE (1024x768 unless set).
start_session() {
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null ||
        { echo "SKIP: Xvfb or xdotool is not installed" && exit 77; } # CTest's SKIP_RETURN_CODE
    local tool
    for tool in openbox wmctrl xprop xwininfo setxkbmap import stream pactl parecord sox od cmp; do
        command -v "$tool" >/dev/null || fail "$tool is missing (bash tools/install-deps.sh installs it)"
    done
    mkdir -p "$WORK/home" && mkdir -m700 -p "$WORK/runtime"
    export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/runtime
    unset PULSE_SERVER QT_QPA_PLATFORM WAYLAND_DISPLAY
    trap stop_session EXIT
    # -noreset: by default the server resets whenever its last client leaves,
    # dropping any connection still being set up, such as openbox's when the
    # first xprop below has come and gone.
    Xvfb -displayfd 5 -noreset -screen 0 "${SCREEN_SIZE:-1024x768}x24" -nolisten tcp 5>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    wait_until 20 "Xvfb to choose a display" test -s "$WORK/display"
    export DISPLAY=:$(head -n1 "$WORK/display")
    note "X server on $DISPLAY"
    openbox >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until 20 "openbox to manage the screen" eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
    start_sound
}

# Where PipeWire's Pulse server runs, a null sink is loaded into it and made
# the default while the test runs; otherwise a private PulseAudio with only a
# null sink is started, touching no sound card; with neither, SOUND=none.
SINK=test_null SOUND=pulse
USER_PULSE=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native # before start_session moves XDG_RUNTIME_DIR
start_sound() {
    if [[ $(dpkg-query -W -f='${db:Status-Status}' pipewire-pulse 2>/dev/null) == installed ]] &&
        PULSE_SERVER=unix:$USER_PULSE pactl info 2>/dev/null | grep -q 'on PipeWire'; then
        export PULSE_SERVER=unix:$USER_PULSE
        SINK=stonerush_test_$$ SOUND=pipewire
        DEFAULT_SINK=$(pactl get-default-sink)
        SINK_MODULE=$(pactl load-module module-null-sink sink_name=$SINK) || fail "PipeWire's Pulse server refused a null sink"
        pactl set-default-sink "$SINK"
        note "sound: null sink $SINK in PipeWire's Pulse server"
    elif command -v pulseaudio >/dev/null; then
        pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-level=info --log-target=file:"$WORK/pulse.log" \
            -L module-native-protocol-unix -L "module-null-sink sink_name=$SINK" 2>>"$WORK/pulse.log" ||
            fail "PulseAudio did not start (see $WORK/pulse.log)"
        wait_until 20 "PulseAudio to answer" pactl info >/dev/null 2>&1
        PULSE_PID=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
    else
        SOUND=none
        note "no sound server to record from (no PipeWire Pulse server runs, PulseAudio is not installed)"
    fi
}

# stop PID...: ends each process this shell started that still runs. A number
# left from one that ended may name another program's process by now (process
# numbers come round again quickly on a busy machine); PulseAudio, which
# leaves its parent, is known by its name.
stop() {
    local pid
    for pid; do
        [[ $(awk '{ print $4 }' "/proc/$pid/stat" 2>/dev/null) == "$BASHPID" ]] && kill "$pid" 2>/dev/null
    done
    return 0
}
stop_session() {
    stop ${RECORDER_PID:-} ${GAME_PID:-} ${WM_PID:-} ${XVFB_PID:-}
    [[ -n ${PULSE_PID:-} && $(cat "/proc/$PULSE_PID/comm" 2>/dev/null) == pulseaudio ]] && kill "$PULSE_PID"
    if [[ -n ${SINK_MODULE:-} ]]; then
        pactl set-default-sink "$DEFAULT_SINK"
        pactl unload-module "$SINK_MODULE"
    fi
    wait 2>/dev/null
    # PulseAudio is no child of ours; it writes into $WORK until it has gone.
    while [[ -n ${PULSE_PID:-} ]] && kill -0 "$PULSE_PID" 2>/dev/null; do sleep 0.05; done
    [[ ${PASSED:-} == 1 ]] && rm -rf "$WORK"
    return 0
}

# Records what the sound server plays; stop_recording [FROM]: the RMS amplitude
# of the recording from second FROM on.
start_recording() {
    parecord --latency-msec=20 -d "$SINK.monitor" --file-format=wav "$WORK/sound.wav" &
    RECORDER_PID=$!
}
stop_recording() {
    kill -INT "$RECORDER_PID"
    # Often run as $(stop_recording), where wait cannot see the recorder.
    while kill -0 "$RECORDER_PID" 2>/dev/null; do sleep 0.05; done
    sox "$WORK/sound.wav" -n trim "${1:-0}" stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'
}
louder_than() { awk -v r="${1:-0}" -v t="$2" 'BEGIN { exit !(r > t) }'; }

# window_named NAME WIDTH: the visible window of the game whose title matches
# the pattern NAME and whose width is WIDTH (any when empty). By class: the
# splash's title is a space, and xdotool's name search misses it.
window_named() {
    local id
    for id in $(xdotool search --onlyvisible --class stonerush 2>/dev/null); do
        [[ $(xdotool getwindowname "$id" 2>/dev/null) =~ $1 ]] || continue
        [[ -z "$2" || $(xdotool getwindowgeometry --shell "$id" 2>/dev/null) == *WIDTH=$2$'\n'* ]] && echo "$id" && return 0
    done
    return 1
}
has_window() { window_named "$@" >/dev/null; }
no_window() { ! window_named "$@" >/dev/null; }

# Window ID's client area on the screen into WX WY WW WH (behind a frame,
# only xwininfo has the position right).
window_geometry() {
    eval "$(xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ { print "WX=" $2 + 0 } /Absolute upper-left Y/ { print "WY=" $2 + 0 }
        /^ *Width/ { print "WW=" $2 + 0 } /^ *Height/ { print "WH=" $2 + 0 }')"
}

# What the window manager says: the window with the keys, the window a window
# belongs to, and whether window A lies above window B.
is_active() { [[ $(printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }')") == "$1" ]]; }
transient_for() { printf '%d' "$(xprop -id "$1" WM_TRANSIENT_FOR | awk '{ print $NF }')"; }
stacked_above() {
    xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | xargs printf '%d\n' |
        awk -v a="$1" -v b="$2" '$0 == a { ia = NR } $0 == b { ib = NR } END { exit !(ia > ib && ib > 0) }'
}

# shoot [WINDOW]: a screenshot of one window (0.1 s), or of the whole screen;
# region X Y W H OUT: a rectangle of it as raw RGB.
shoot() { import -window "${1:-root}" -depth 8 "ppm:$WORK/screen.ppm"; }
region() { stream -map rgb -storage-type char -extract "$3x$4+$1+$2" "$WORK/screen.ppm" "$5"; }
