#!/usr/bin/env bash
# Installs what is missing, builds, and opens the simulator's main window. Without a display it
# runs the bundled example scenario headless instead and prints its summary.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${PRRSIM_BUILD_DIR:-$root/build}"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$build/prrsim" ]]; then
    exec "$build/prrsim"
fi
echo "No display: running examples/default.json headless (prrsim-batch)." >&2
exec "$build/prrsim-batch" "$root/examples/default.json"
