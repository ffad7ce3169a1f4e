# Sourced by the figures and comparison scripts: what they read of a process.

# median: the middle of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# usage PID: "CPU_NS SWITCHES", CPU nanoseconds and voluntary context switches
# (its wake-ups) summed over the process's threads; a thread that ends while
# it is read counts no more.
usage() {
    local task cpu=0 switches=0 ns v
    for task in /proc/"$1"/task/*; do
        read -r ns _ <"$task/schedstat" 2>/dev/null || continue
        v=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null)
        cpu=$((cpu + ns)) switches=$((switches + ${v:-0}))
    done
    echo "$cpu $switches"
}
