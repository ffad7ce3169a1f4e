#!/usr/bin/env bash
# Physical lines of tracked source files (C++, headers, shell, Python, CMake)
# under tests/ against the game's own code; bench/ counts as neither.
set -euo pipefail
cd "$(dirname "$0")/.."
lines() {
    git ls-files -z -- "$@" | grep -zE '\.(cpp|cc|h|hpp|sh|py|cmake|in)$|(^|/)CMakeLists\.txt$' |
        xargs -0 -r cat | wc -l
}
tests=$(lines tests)
code=$(lines engine render mainwindow scores windows platform tools packaging)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "Test lines: %d, code lines: %d, ratio %.2f\n", t, c, t / c }'
