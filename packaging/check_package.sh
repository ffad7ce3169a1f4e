#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a player's
# machine meets it: lintian finds no error and no warning; apt could install
# it without removing anything; `man 6 stonerush` finds the manual page;
# --help and --version answer with no display; and the game, started from the
# package's files as installed, shows its splash under X.
#   check_package.sh BUILD_DIR
set -uo pipefail
build=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/stonerush-package.XXXXXX")
source "$HERE/../tests/e2e/session.sh"

(cd "$build" && rm -f stonerush_*.deb && cpack -G DEB >"$WORK/cpack.log" 2>&1) || fail "cpack failed (see $WORK/cpack.log)"
deb=$(echo "$build"/stonerush_*.deb)
note "built $(basename "$deb")"
lintian --fail-on error,warning "$deb" 2>&1 | grep -v '^running with root privileges' >"$WORK/lintian.log"
((PIPESTATUS[0] == 0)) || { cat "$WORK/lintian.log"; fail "lintian found errors or warnings"; }
note "lintian: no error, no warning"
plan=$(apt-get -s install "$deb" 2>&1) || { echo "$plan"; fail "apt could not install the package"; }
! grep '^Remv' <<<"$plan" || fail "installing the package would remove the packages above"

root=$WORK/root
dpkg-deb -x "$deb" "$root"
game=$root/usr/games/stonerush
[[ $(MANPATH=$root/usr/share/man man -w 6 stonerush) == "$root/usr/share/man/man6/stonerush.6.gz" ]] ||
    fail "man 6 stonerush does not find the manual page"
env -u DISPLAY "$game" --version | grep -qx 'Stonerush [0-9.]*' || fail "--version did not print the version"
env -u DISPLAY "$game" --help | grep -q '^Usage: stonerush' || fail "--help did not print the usage"
note "--help and --version answer without a display"

start_session
"$game" >"$WORK/game.log" 2>&1 &
GAME_PID=$!
wait_until 20 "the installed game's splash" has_window '^ $' 298
note "the installed game shows its splash"
rm -rf "$WORK"
