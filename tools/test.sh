#!/usr/bin/env bash
# The one test command: installs what is missing, builds and runs every test
# (optimised build, then again under AddressSanitizer and
# UndefinedBehaviorSanitizer), builds the players' Release build, all with
# warnings as errors, checks the direction of includes and the formatting,
# and builds the Debian package, checks it with lintian and starts
# the game from its installed files. Goes on after a failing step (a preset
# whose build failed runs no tests) and prints a summary at the end; exits 1
# if any step failed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
logs=$root/build/test-logs
mkdir -p "$logs"
rm -f "$logs"/ctest-*.log
jobs=$(nproc)

summary=()
failed=0
# step NAME COMMAND...: runs COMMAND, notes the outcome; returns its status.
step() {
    local name=$1 start=$SECONDS
    shift
    echo
    echo "=== $name"
    if "$@"; then
        summary+=("ok    $name ($((SECONDS - start)) s)")
    else
        summary+=("FAIL  $name ($((SECONDS - start)) s)")
        failed=1
        return 1
    fi
}

# Builds a preset with its log kept, warnings as errors; a failed build or any
# compiler warning fails the step.
build() {
    local preset=$1 log=$logs/build-$1.log status
    cmake --preset "$preset" -DSTONERUSH_WARNINGS_AS_ERRORS=ON >/dev/null || return 1
    cmake --build --preset "$preset" -j "$jobs" >"$log" 2>&1
    status=$?
    grep -E 'warning:|error:|FAILED' "$log"
    ((status == 0)) || { echo "the build failed (see $log)"; return 1; }
    local warnings
    warnings=$(grep -c 'warning:' "$log")
    ((warnings == 0)) || { echo "$warnings compiler warnings (see $log)"; return 1; }
}

# Runs a test preset, keeping its output for the totals at the end.
run_tests() {
    local preset=$1
    shift
    ctest --preset "$preset" -j "$jobs" "$@" 2>&1 | tee "$logs/ctest-$preset.log"
    return "${PIPESTATUS[0]}"
}

# Sanitizers: any report fails the test that made it. Leaks inside system
# libraries are suppressed in tools/lsan.supp, each with its reason.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

step "install missing packages" bash tools/install-deps.sh test
if step "build (default preset)" build default; then
    step "tests (default preset)" run_tests default
    step "Debian package: lintian, installed files, splash" bash packaging/check_package.sh build/default
fi
# The end-to-end test plays the optimised build; under the sanitizers it would
# only measure their slowness.
if step "build (asan preset)" build asan; then
    step "tests (asan preset, without e2e)" run_tests asan -LE e2e
fi
# The optimised build players make with tools/play.sh, for its warnings; in a
# folder of its own, so the players' build keeps its flags and stays built.
step "build (players' preset)" build play-strict
step "includes follow the layout" bash tools/check-includes.sh
step "short files and functions" bash tools/check-sizes.sh
step "formatting (clang-format 14)" bash tools/check-format.sh

# Totals over the test runs, from ctest's line for each test. A test skipped
# on purpose (exit 77, GTEST_SKIP) or disabled counts apart; anything else that
# did not pass (failed, timed out, could not run) counts as failed.
totals() {
    cat "$logs"/ctest-*.log 2>/dev/null | awk '
        /^ *[0-9]+\/[0-9]+ +Test +#[0-9]+:/ {
            if (/\*\*\*Skipped|Not Run \(Disabled\)/) s++
            else if (/ Passed +[0-9.]+ sec/) p++
            else f++
        }
        END { printf "%d passed, %d failed, %d skipped\n", p, f, s }'
}

echo
echo "=== Summary"
printf '  %s\n' "${summary[@]}"
echo "  $(bash tools/test-ratio.sh)"
if ((failed)); then
    echo "FAILED (logs in build/test-logs and build/*/Testing/Temporary)"
else
    echo "All passed."
fi
echo "Tests: $(totals)"
exit "$failed"
