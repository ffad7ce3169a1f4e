#!/usr/bin/env bash
# Checks that every C++ file in git follows .clang-format (clang-format 14, as
# Debian 12 ships it). Prints the files that do not; exits 1 if there are any.
# To fix: clang-format-14 -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format-14 || command -v clang-format || true)
[[ -n "$format" ]] || { echo "clang-format is not installed (bash tools/install-deps.sh)"; exit 1; }
"$format" --version | grep -q 'version 14\.' || echo "note: $("$format" --version) is not clang-format 14"

mapfile -t files < <(git ls-files '*.cpp' '*.h')
bad=()
for file in "${files[@]}"; do
    "$format" --style=file --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done
if ((${#bad[@]})); then
    echo "Not formatted (${#bad[@]} of ${#files[@]} files):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "All ${#files[@]} C++ files follow .clang-format."
