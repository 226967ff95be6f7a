#!/usr/bin/env bash
# Builds the libFuzzer targets of the readers of outside files (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, checked table access) into build-fuzz/ and runs each for a fixed
# time: `bash scripts/fuzz.sh [SECONDS] [READER...]` (default 600 seconds each; readers
# scenario, campaign, recovery, default all three one after the other). Each reader's corpus
# grows in build-fuzz/corpus-READER, seeded with the repository's examples of its files (read
# only); a crashing input is written to build-fuzz/ as crash-* and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PRRSIM_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-600}"
shift || true
readers=("$@")
if [[ ${#readers[@]} -eq 0 ]]; then
    readers=(scenario campaign recovery)
fi
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh needs clang: apt-get install clang" >&2
    exit 1
fi
if [[ ! -f "$build/build.ninja" ]]; then
    CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPRRSIM_FUZZ=ON -DPRRSIM_BUILD_UI=OFF -DPRRSIM_BUILD_BENCH=OFF
fi
targets=()
for reader in "${readers[@]}"; do
    targets+=("${reader}_fuzz")
done
cmake --build "$build" --target "${targets[@]}" -j "${PRRSIM_FUZZ_JOBS:-$(nproc)}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for reader in "${readers[@]}"; do
    case "$reader" in
        scenario) seeds=("$root/examples" "$root/tests/scenario/scenarios") ;;
        campaign) seeds=("$root/bench/default-world-campaign.json" "$root/tests/slurm/small-campaign.json") ;;
        recovery) seeds=("$root/tests/fuzz/recovery") ;;
        *) echo "fuzz.sh: unknown reader $reader (scenario, campaign, recovery)" >&2; exit 2 ;;
    esac
    corpus="$build/corpus-$reader"
    mkdir -p "$corpus"
    # Seed files are copied in: libFuzzer takes folders, and the first folder is the one it grows.
    for seed in "${seeds[@]}"; do
        if [[ -f "$seed" ]]; then cp -n "$seed" "$corpus/"; fi
    done
    folders=()
    for seed in "${seeds[@]}"; do
        if [[ -d "$seed" ]]; then folders+=("$seed"); fi
    done
    echo "== $reader: $seconds s"
    "$build/${reader}_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=60 \
        -rss_limit_mb=2048 -dict="$root/tests/fuzz/scenario.dict" -artifact_prefix="$build/" \
        -print_final_stats=1 "$corpus" "${folders[@]}"
done
