#!/usr/bin/env bash
# Saves pictures of the radar panel, the add-radar dialog, the missile window in flight, the
# main window with its scene menu, timeline and status bar, the event log, the debrief window
# with its plots, the map with the review overlays (plain and zoomed) and the map view (the start-up scene maximised,
# a zoomed complex, the capacity scene with placed labels) into
# docs/images (needs a configured build; PRRSIM_BUILD_DIR selects it, default build/).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PRRSIM_BUILD_DIR:-$root/build}"
ninja -C "$build" window_screenshots
QT_QPA_PLATFORM=offscreen PRRSIM_SCREENSHOT_DIR="$root/docs/images" \
    "$build/tests/window_screenshots"
