#!/usr/bin/env bash
# Builds the libFuzzer target of the scenario reader (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, checked table access) into build-fuzz/ and runs it for a fixed
# time: `bash scripts/fuzz.sh [SECONDS]` (default 600). The corpus grows in build-fuzz/corpus,
# seeded with examples/ and tests/scenario/scenarios/ (read only); a crashing input is written to
# build-fuzz/ as crash-* and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PRRSIM_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-600}"
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh needs clang: apt-get install clang" >&2
    exit 1
fi
if [[ ! -f "$build/build.ninja" ]]; then
    CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPRRSIM_FUZZ=ON -DPRRSIM_BUILD_UI=OFF -DPRRSIM_BUILD_BENCH=OFF
fi
cmake --build "$build" --target scenario_fuzz -j "$(nproc)"
mkdir -p "$build/corpus"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build/scenario_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=60 \
    -rss_limit_mb=2048 -dict="$root/tests/fuzz/scenario.dict" -artifact_prefix="$build/" \
    -print_final_stats=1 "$build/corpus" "$root/examples" "$root/tests/scenario/scenarios"
