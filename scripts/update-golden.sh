#!/usr/bin/env bash
# Regenerates the golden trace of the default world that tests/scenario/golden_test.cpp checks:
#   default_world.sampled.jsonl  the trace every 250 ticks, compared line by line;
#   default_world.sha256         SHA-256 of the full trace (every tick).
# Run it only after a deliberate change of the simulation's results, and review the diff.
# Usage: scripts/update-golden.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target prrsim-batch
exe="$build/prrsim-batch"
golden="$root/tests/scenario/golden"
scenario="$golden/default_world.json"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$exe" "$scenario" --trace "$work/full.jsonl" >/dev/null
"$exe" "$scenario" --trace "$work/sampled.jsonl" --every 250 >/dev/null
sha256sum "$work/full.jsonl" | cut -d' ' -f1 >"$golden/default_world.sha256"
cp "$work/sampled.jsonl" "$golden/default_world.sampled.jsonl"
echo "golden trace updated: $(cat "$golden/default_world.sha256")"
