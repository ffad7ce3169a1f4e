#!/usr/bin/env bash
# Checks that includes point the way the layout goes; the build's include
# roots already refuse most wrong ones, this also covers what a shared root
# cannot tell apart. Prints each include against the direction; exits 1 if
# there is any.
#   engine/     standard C++ and its own headers only
#   platform/   nothing of render/, windows/, scores/ or mainwindow/
#   render/, scores/, windows/   never mainwindow/
#   the side windows (About, help, high scores) and the splash: only mainwindow/
set -euo pipefail
cd "$(dirname "$0")/.."

bad=0
# forbid FOLDER PATTERN WHY: includes in FOLDER's C++ files matching PATTERN.
# A source file including its own header is never against the direction.
forbid() {
    local hits
    hits=$(git ls-files -- "$1" | grep -E '\.(cpp|h)$' | xargs -r grep -nE "^#include [<\"]($2)" |
        awk -F: '{ own = $1; sub(/\.(cpp|h)$/, ".h", own) } index($0, "\"" own "\"") == 0' || true)
    if [[ -n $hits ]]; then
        echo "$3:"
        sed 's/^/  /' <<<"$hits"
        bad=1
    fi
}
forbid engine '(render|platform|windows|scores|mainwindow)/|Q[A-Za-z]*[>"]|qt|fluidsynth' \
    "engine/ includes nothing but standard C++ and its own headers"
forbid platform '(render|windows|scores|mainwindow)/' "platform/ includes no window"
for folder in render scores windows; do
    forbid "$folder" 'mainwindow/' "$folder/ never includes the main window"
done
for folder in engine platform render scores windows; do
    forbid "$folder" 'windows/(about|help|splash)_window\.h|scores/high_score_window\.h' \
        "only the main window includes the side windows ($folder/)"
done
((bad == 0)) && echo "Includes follow the layout."
exit "$bad"
