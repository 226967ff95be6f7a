#!/usr/bin/env bash
# Configures (once) and builds the project into build/ (incremental on later runs).
# Extra arguments are passed to the CMake configure step. PRRSIM_TARGETS (space-separated)
# builds only those targets instead of all (tests and benchmarks included).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PRRSIM_BUILD_DIR:-$root/build}"
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRRSIM_WERROR=ON "$@"
fi
targets=()
for t in ${PRRSIM_TARGETS:-}; do
    targets+=(--target "$t")
done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
