#!/usr/bin/env bash
# Runs every test but the end-to-end ones N times (default 20) on the default
# build, to find the flaky ones. Prints each failure with its run, then how
# often each test failed; exits 1 if any did. Logs of failed runs are kept in
# build/test-logs/repeat-RUN.log.
#   bash tools/test-repeat.sh [N]
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
logs=build/test-logs
mkdir -p "$logs"
rm -f "$logs"/repeat-*.log
cmake --preset default >/dev/null && cmake --build --preset default -j "$(nproc)" >"$logs/repeat-build.log" 2>&1 ||
    { echo "the build failed (see $logs/repeat-build.log)"; exit 1; }

failures=()
for ((run = 1; run <= runs; run++)); do
    if ctest --preset default -LE e2e -j "$(nproc)" >"$logs/repeat-$run.log" 2>&1; then
        rm "$logs/repeat-$run.log"
        echo "run $run: ok"
        continue
    fi
    mapfile -t names < <(grep -E '^ *[0-9]+/[0-9]+ +Test +#' "$logs/repeat-$run.log" |
        grep -vE ' Passed |\*\*\*Skipped|Not Run \(Disabled\)' | sed -E 's/^.*Test +#[0-9]+: ([^ ]+) .*/\1/')
    ((${#names[@]})) || names=("ctest itself (see $logs/repeat-$run.log)")
    for name in "${names[@]}"; do echo "run $run: FAILED $name"; done
    failures+=("${names[@]}")
done

echo
if ((${#failures[@]} == 0)); then
    echo "All $runs runs passed."
    exit 0
fi
echo "Failures in $runs runs:"
printf '%s\n' "${failures[@]}" | sort | uniq -c | sort -rn
exit 1
