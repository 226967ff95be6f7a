#!/usr/bin/env bash
# Saves pictures of the radar panel, the add-radar dialog and the missile window in flight into
# docs/images (needs a configured build; PRRSIM_BUILD_DIR selects it, default build/).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PRRSIM_BUILD_DIR:-$root/build}"
ninja -C "$build" window_screenshots
QT_QPA_PLATFORM=offscreen "$build/tests/window_screenshots" "$root/docs/images"
