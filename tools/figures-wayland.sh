# Sourced by tools/figures.sh after its X11 states: the same build natively on
# Wayland, under a headless sway drawing in software on a 3840 x 2160 screen
# at scale 1, with the same null sink, measured as on X11 and printed beside
# the X11 figures of the run. Launch: from exec to the compositor's "new
# window" event for the splash, and RSS 1 s later, against a bare Qt window
# (with Qt's decorations left to the compositor too), median of 7 alternate
# runs; then RSS 1 s after start with Qt's own decorations, as a compositor
# that leaves them to the program (GNOME's) has it. States: the title, play
# (music on, a key every 0.25 s) and paused, with RSS at the title and after
# 30 s of play.
source "$root/tests/e2e/wayland_session.sh"
SCALE=1 WINDOWS=Wayland
MAIN_WINDOW=
start_sway "$build/tests/e2e/wayland_pointer"
# In a subshell of figures.sh: the X session and the sound server go on after it.
trap 'stop ${GAME_PID:-} $POINTER_PID $SWAY_PID; wait' EXIT
cp "$baseline" "$WORK/minimal_window"
mkdir -p "$WORK/player/.config/stonerush"
cp "$HOME/.config/stonerush/stonerush.conf" "$WORK/player/.config/stonerush/"
((EUID)) || chown -R 65534:65534 "$WORK/player/.config"
# The player's programs reach the null sink through a socket that asks no cookie.
pulse=${PULSE_SERVER:-unix:$XDG_RUNTIME_DIR/pulse/native}
if ((EUID == 0)); then
    pactl load-module module-native-protocol-unix auth-anonymous=1 socket="$WORK/pulse" >/dev/null
    pulse=unix:$WORK/pulse
fi
PLAYER+=(PULSE_SERVER="$pulse")
mesa_mapped() { grep -qE 'libEGL_mesa|_dri\.so|libLLVM' "/proc/$1/maps" && echo yes || echo no; }

# wayland_launch VARIABLE=VALUE... PROGRAM: "MS RSS_KB MESA" of one launch.
wayland_launch() {
    local line start ms pid rss mesa
    coproc WATCH { exec env SWAYSOCK="$SWAY_IPC" swaymsg -m -r -t subscribe '["window"]'; }
    sleep 0.2 # the subscription made
    start=${EPOCHREALTIME/./}
    "${PLAYER[@]}" "$@" >/dev/null 2>&1 &
    pid=$!
    while read -r -t 20 line <&"${WATCH[0]}" && [[ $line != *'"change": "new"'* ]]; do :; done
    ms=$(awk -v us=$((${EPOCHREALTIME/./} - start)) 'BEGIN { printf "%.1f", us / 1000 }')
    sleep 1
    rss=$(rss_kb "$pid") mesa=$(mesa_mapped "$pid")
    kill "$pid" "$WATCH_PID"
    wait "$pid" "$WATCH_PID" 2>/dev/null
    echo "$ms $rss $mesa"
}
for run in 1 2 3 4 5 6 7; do
    wayland_launch "$FOLDER/stonerush" >>"$WORK/wl_game.txt"
    wayland_launch QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$WORK/minimal_window" >>"$WORK/wl_base.txt"
done
read -r _ decorated_rss decorated_mesa < <(wayland_launch QT_WAYLAND_DISABLE_WINDOWDECORATION=0 "$FOLDER/stonerush")
wl_ms=$(cut -d' ' -f1 "$WORK/wl_game.txt" | median) wl_rss=$(cut -d' ' -f2 "$WORK/wl_game.txt" | median)
wl_base_ms=$(cut -d' ' -f1 "$WORK/wl_base.txt" | median)
echo
echo "Natively on Wayland (headless sway, software drawing), beside X11 in this run:"
echo "  Launch to splash mapped: $wl_ms ms; bare Qt window $wl_base_ms ms; ratio $(ratio "$wl_ms" "$wl_base_ms")" \
    "(X11: $game_ms ms, ratio $(ratio "$game_ms" "$base_ms"))"
echo "  RSS 1 s after start:     $((wl_rss / 1024)) MB; X11 $((game_rss / 1024)) MB; ratio $(ratio "$wl_rss" "$game_rss")" \
    "(target <= 1.1); Mesa's EGL stack loaded: $(cut -d' ' -f3 "$WORK/wl_game.txt" | sort -u | tr '\n' ' ')"
echo "  With Qt's own decorations (a compositor that leaves them to the program): RSS 1 s after start" \
    "$((decorated_rss / 1024)) MB, Mesa's EGL stack loaded: $decorated_mesa"

"${PLAYER[@]}" QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$WORK/minimal_window" >/dev/null 2>&1 &
base_pid=$!
sleep 1 # up before the game, so the game's windows come above it and take the keys
Z=1
launch_natively
PLAY_KEYS=(env WAYLAND_DISPLAY="$WORK/player-runtime/$SWAY_DISPLAY" wtype -s 300
    $(for _ in $(seq 400); do echo -k Left -s 250 -k Right -s 250 -k Up -s 250; done))
# A release from a keyboard of its own: Qt repeats a held key itself, and stops
# at a release of that key from any keyboard.
LET_GO=(env WAYLAND_DISPLAY="$WORK/player-runtime/$SWAY_DISPLAY" wtype -s 300 -P Left -p Left -P Right -p Right -P Up -p Up)
# beside_x11 STATE: the last state's CPU against X11's in the same state.
beside_x11() {
    awk -v w="$(cat "$WORK/col1")" -v x="$(cat "$WORK/cpu X11 $1")" 'BEGIN {
        printf "    X11 %.2f%%", x; if (x > 0) printf "; ratio %.2f", w / x; print "" }'
}
echo "  States (targets: play at most 1.5 times X11's CPU, 0.00% at the title and paused):"
header
sleep 2
measure "title"
beside_x11 "title"
wl_title_rss=$(rss_kb "$GAME_PID")
click_start_button
wait_until 10 "a piece after START" eval '[[ $(field_cells | wc -l) == 4 ]]'
measure "play, music on" keys
beside_x11 "play, music on"
wl_play_rss=$(rss_kb "$GAME_PID")
click_start_button # PAUSE
wait_until 5 "the paused picture after PAUSE" paused_shown
sleep 1
measure "paused"
beside_x11 "paused"
echo "  RSS at the title:        $((wl_title_rss / 1024)) MB; X11 $((title_rss / 1024)) MB;" \
    "ratio $(ratio "$wl_title_rss" "$title_rss") (target <= 1.1)"
echo "  RSS after 30 s of play:  $((wl_play_rss / 1024)) MB; X11 $((play_rss / 1024)) MB;" \
    "ratio $(ratio "$wl_play_rss" "$play_rss") (target <= 1.1); Mesa's EGL stack loaded: $(mesa_mapped "$GAME_PID")"
keys F3
game_ends_with 0
kill "$base_pid"
wait "$base_pid" 2>/dev/null || true
