#!/bin/sh
# Builds and starts Kestrel. Without a display it runs the built-in default
# case (default parameters, a 5 x 5 obstacle) through kestrel-batch instead.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
if [ -n "${DISPLAY}${WAYLAND_DISPLAY}" ]; then
    exec ./build/windows/kestrel
fi
echo "No display is available, so the Kestrel window cannot open here."
echo "Running the default case without a window instead (xvfb-run -a sh scripts/start.sh shows the window on a virtual screen)."
mkdir -p output
./build/batch/kestrel-batch scripts/default-case.json \
    --table output/default-table.txt --csv output/default.csv \
    --image output/default.png --stats output/default-stats.json
echo "Result table: $(pwd)/output/default-table.txt"
echo "Full-precision CSV: $(pwd)/output/default.csv"
echo "Pressure plot: $(pwd)/output/default.png"
