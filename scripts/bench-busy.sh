#!/bin/sh
# The solver on a busy machine: each case run normally (--threads auto) and
# on one thread, in interleaved pairs, while 0, 1 and 2 busy loops compete
# for the cores; prints the median loop times and their ratio. Starts and
# ends the busy loops itself.
#   KESTREL_BUSY_PAIRS  pairs per row (default 5)
set -e
cd "$(dirname "$0")/.."
batch=./build/batch/kestrel-batch
pairs="${KESTREL_BUSY_PAIRS:-5}"
work=$(mktemp -d)
busy=""
trap 'for p in $busy; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT INT TERM
echo '{"nx": 400, "ny": 200, "stepCount": 50, "maxIter": 100,
  "obstacleRuns": [[95, 90, 110], [100, 90, 110], [105, 90, 110]]}' > "$work/400x200.json"
echo '{"nx": 1000, "ny": 500, "stepCount": 10, "maxIter": 100,
  "obstacleRuns": [[240, 230, 270], [250, 230, 270], [260, 230, 270]]}' > "$work/1000x500.json"
seconds() {
    "$batch" "$@" --stats "$work/s.json" >/dev/null 2>&1
    sed -n 's/.*"loopSeconds": *\([0-9.e+-]*\).*/\1/p' "$work/s.json"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf '%-10s %-6s %10s %10s %7s\n' case busy auto one ratio
for load in 0 1 2; do
    while [ "$(echo $busy | wc -w)" -lt "$load" ]; do
        sh -c 'while :; do :; done' & busy="$busy $!"
    done
    for c in 400x200 1000x500; do
        : > "$work/auto"; : > "$work/one"
        for k in $(seq "$pairs"); do
            seconds "$work/$c.json" >> "$work/auto"
            seconds "$work/$c.json" --threads 1 >> "$work/one"
        done
        a=$(median < "$work/auto"); o=$(median < "$work/one")
        printf '%-10s %-6s %9.3fs %9.3fs %7.2f\n' "$c" "$load" "$a" "$o" "$(echo "$a / $o" | bc -l)"
    done
done
