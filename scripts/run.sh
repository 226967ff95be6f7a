#!/usr/bin/env bash
# Installs what is missing, builds, and opens the simulator's main window. Without a display it
# runs the bundled example scenario headless instead and prints its summary.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
# Only what it runs: the window and the batch runner, not the tests and benchmarks.
targets="prrsim prrsim-batch"
if grep -qs "^PRRSIM_BUILD_UI:BOOL=OFF" "${PRRSIM_BUILD_DIR:-$root/build}/CMakeCache.txt"; then
    targets="prrsim-batch"
fi
PRRSIM_TARGETS="$targets" bash "$root/scripts/build.sh"
build="${PRRSIM_BUILD_DIR:-$root/build}"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$build/prrsim" ]]; then
    exec "$build/prrsim"
fi
echo "No display: running examples/default.json headless (prrsim-batch)." >&2
exec "$build/prrsim-batch" "$root/examples/default.json"
