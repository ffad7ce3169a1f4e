#!/usr/bin/env bash
# Installs the Debian packages Stonerush needs to build, run and test, and
# only those that are missing. Quick when everything is there already.
set -euo pipefail

PACKAGES=(
    # build
    g++ cmake ninja-build pkg-config git
    qt6-base-dev qt6-multimedia-dev libfluidsynth-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # run: the music's soundfont and a font for the labels
    timgm6mb-soundfont fonts-dejavu-core fonts-liberation2
    # test: a real X server with a window manager, keys and layouts, screenshots,
    # a sound server to record from
    xvfb xauth xdotool x11-utils openbox wmctrl x11-xkb-utils imagemagick pulseaudio pulseaudio-utils sox
    clang-format desktop-file-utils appstream dpkg-dev file
    # figures: the launch timer watches the X server directly
    libx11-dev
)

missing=()
while read -r name status; do
    [[ "$status" == "installed" ]] || missing+=("$name")
done < <(for p in "${PACKAGES[@]}"; do
    s=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    echo "$p ${s:-missing}"
done)

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
