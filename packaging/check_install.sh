#!/usr/bin/env bash
# Installs the build into a scratch folder and checks the layout the menu and
# the shell rely on: the program with its data files beside it, the link in
# /usr/games, the menu entry, the icons, the metadata and the documentation.
#   check_install.sh BUILD_DIR
set -euo pipefail
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$1" --prefix /usr >/dev/null
root=$stage/usr
status=0
expect() { [[ -e "$root/$1" ]] || { echo "missing: /usr/$1"; status=1; }; }

for file in stonerush help.htm line.wav quad.wav gameover.wav rushtune.mid; do expect "lib/stonerush/$file"; done
[[ -x "$root/lib/stonerush/stonerush" ]] || { echo "lib/stonerush/stonerush is not executable"; status=1; }
[[ $(readlink "$root/games/stonerush") == ../lib/stonerush/stonerush ]] ||
    { echo "games/stonerush is not a relative link to ../lib/stonerush/stonerush"; status=1; }
for file in man/man6/stonerush.6.gz doc/stonerush/copyright doc/stonerush/changelog.gz; do expect "share/$file"; done
for size in 16 22 24 32 48 64 128 256; do expect "share/icons/hicolor/${size}x$size/apps/stonerush.png"; done
desktop=$(ls "$root"/share/applications/*.desktop)
grep -qx 'Exec=stonerush' "$desktop" || { echo "the menu entry does not run stonerush"; status=1; }
metainfo=$(ls "$root"/share/metainfo/*.metainfo.xml)
[[ $(basename "$metainfo" .metainfo.xml) == $(basename "$desktop" .desktop) ]] ||
    { echo "metainfo and desktop entry are not named alike"; status=1; }
((status == 0)) && echo "install layout ok"
exit $status
