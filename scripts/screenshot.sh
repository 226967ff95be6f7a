#!/bin/sh
# Builds the program and writes docs/images/main-window.png: the main window with the default
# scene after one second of simulated time, aircraft 0 selected so that its panel shows.
# Needs xvfb-run. Usage: scripts/screenshot.sh [build-dir]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-screenshot"}

cmake -S "$root" -B "$build" -G Ninja -DPRRSIM_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" prrsim
mkdir -p "$root/docs/images"
xvfb-run -a "$build/prrsim" --ticks 100 --select-aircraft 0 \
    --screenshot "$root/docs/images/main-window.png"
echo "wrote $root/docs/images/main-window.png"
