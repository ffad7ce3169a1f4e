#!/usr/bin/env bash
# Keeps the game's code in short files of small functions: no source file
# over 300 lines, no function over 50 (the asset generators and the tests
# aside). Functions are found as clang-format lays them out: a definition
# starts at the margin and its body ends at a "}" on the margin. Prints what
# is too long; exits 1 if anything is.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files -- engine render mainwindow scores windows platform | grep -E '\.(cpp|h)$')
awk -v maxFile=300 -v maxFunction=50 '
    FNR == 1 { if (prev != "" && lines > maxFile) { print prev ": " lines " lines"; bad = 1 } prev = FILENAME; start = 0 }
    { lines = FNR }
    # A definition begins on a line at the margin (not a comment, a
    # preprocessor line or a namespace, class or enum) and ends at a "}" there.
    /^[A-Za-z~]/ && !/^(namespace|class|struct|enum|union|template|using|typedef)/ {
        if (!start) { start = FNR; name = $0 }
        if (/;$/) start = 0  # a declaration, not a definition
    }
    /^[}]/ && start {
        if ($0 !~ /^};/ && FNR - start + 1 > maxFunction) { print FILENAME ":" start ": " FNR - start + 1 " lines: " name; bad = 1 }
        start = 0
    }
    END { if (lines > maxFile) { print prev ": " lines " lines"; bad = 1 } exit bad }
' "${files[@]}" && echo "Files and functions are short (${#files[@]} files)."
