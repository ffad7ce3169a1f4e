#!/usr/bin/env bash
# Installs the Debian packages Stonerush needs, only those that are missing:
#   install-deps.sh play   building and running the game (tools/play.sh)
#   install-deps.sh test   that, and what the tests, the package check and
#                          the figures need (tools/test.sh)
# It changes nothing else: apt is asked first what it would do (apt-get -s),
# and if that would remove any package, nothing is installed. Playing installs
# no sound server; the tests add PulseAudio only where no sound server
# package (pipewire-pulse or pulseaudio) is installed.
set -euo pipefail

installed() { [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]; }

play=(
    g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libfluidsynth-dev libxcb1-dev libwayland-dev
    # native windows on a Wayland desktop (without it the game goes through Xwayland)
    qt6-wayland
    # gamepads
    libevdev-dev
    # the music's soundfont and the labels' fonts
    timgm6mb-soundfont fonts-liberation2 fonts-dejavu-core
)
# libfluidsynth-dev needs a JACK development package. Left to choose, apt takes
# JACK1's and removes JACK2's library, which PipeWire's JACK layer uses: name
# JACK2's, unless the machine has JACK1's already.
installed libjack-dev || play+=(libjack-jackd2-dev)

test=(
    git libgtest-dev libgmock-dev libbenchmark-dev
    # a real X server with a window manager, keys and layouts, screenshots, and
    # recording from the sound server
    xvfb xauth xdotool x11-utils openbox wmctrl x11-xkb-utils imagemagick pulseaudio-utils sox
    # a Wayland compositor drawing in software, with keys, screenshots and its window tree
    sway wtype grim jq
    # formatting, the desktop metadata, the Debian package and its checks
    clang-format desktop-file-utils appstream dpkg-dev file lintian man-db
    # the figures: the launch timer watches the X server directly
    libx11-dev
)
installed pipewire-pulse || installed pulseaudio || test+=(pulseaudio)

case ${1:-} in
play) wanted=("${play[@]}") ;;
test) wanted=("${play[@]}" "${test[@]}") ;;
*) echo "usage: $0 play|test" >&2; exit 2 ;;
esac
missing=()
for package in "${wanted[@]}"; do installed "$package" || missing+=("$package"); done
((${#missing[@]})) || exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
plan=$(apt-get -s install --no-install-recommends "${missing[@]}" 2>&1) || { echo "$plan"; exit 1; }
removed=$(sed -n 's/^Remv \([^ ]*\).*/\1/p' <<<"$plan" | tr '\n' ' ')
if [[ -n $removed ]]; then
    echo "Stopped: to install these, apt would remove ${removed}from this machine."
    echo "Nothing was installed. Install the packages above by hand if you accept that."
    exit 1
fi
"${sudo[@]}" apt-get install -y -qq --no-install-recommends --no-remove "${missing[@]}"
