#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs all tests and the
# short soaks; then builds again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)
# and runs the tests and soaks there. PRRSIM_SKIP_SANITIZE=1 skips the sanitizer half.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${PRRSIM_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
if [[ "${PRRSIM_SKIP_SANITIZE:-0}" != "1" ]]; then
    bash "$root/scripts/sanitize.sh"
fi
