#!/usr/bin/env bash
# Installs what playing needs and is missing (no test tools, no sound server),
# builds the game alone (the play preset: no tests, benchmarks or generators)
# and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh play
cmake --preset play -DSTONERUSH_WARNINGS_AS_ERRORS=OFF >/dev/null
cmake --build --preset play
exec build/play/game/stonerush "$@"
