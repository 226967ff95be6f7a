#!/usr/bin/env bash
# A campaign run as four Slurm array tasks and merged gives the same files, byte for byte, as
# the same campaign run in one process. Starts the single-node Slurm of scripts/slurm-local.sh
# (stopped again at the end if this test started it); exits 77 (skipped) when Slurm is not
# installed.
#
#   tests/slurm/slurm_campaign_test.sh PRRSIM_BATCH
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
batch="$(realpath "$1")"
if ! command -v slurmctld >/dev/null || ! command -v munged >/dev/null; then
    echo "SKIP: slurm-wlm and munge are not installed (scripts/slurm-local.sh install)"
    exit 77
fi
export PRRSIM_SLURM_DIR="${PRRSIM_SLURM_DIR:-/tmp/prrsim-slurm}"
# One test at a time uses the local cluster (other build trees may run this test too).
exec 9>"$PRRSIM_SLURM_DIR.lock"
flock 9
started=0
if ! [[ -f "$PRRSIM_SLURM_DIR/slurmctld.pid" ]] ||
    ! kill -0 "$(cat "$PRRSIM_SLURM_DIR/slurmctld.pid")" 2>/dev/null; then
    started=1
fi
work="$(mktemp -d)"
cleanup() {
    rm -rf "$work"
    if ((started)); then
        bash "$root/scripts/slurm-local.sh" stop
    fi
}
trap cleanup EXIT
bash "$root/scripts/slurm-local.sh" start
eval "$(bash "$root/scripts/slurm-local.sh" env)"

campaign="$root/tests/slurm/small-campaign.json"
"$batch" campaign "$campaign" --threads 1 --out "$work/single" >/dev/null
merge=$(PRRSIM_BATCH="$batch" bash "$root/scripts/slurm-campaign.sh" "$campaign" 4 "$work/slurm")
echo "merge job $merge"
for _ in $(seq 1 600); do
    [[ -z "$(squeue -h -j "$merge" 2>/dev/null)" ]] && break
    sleep 0.2
done
if [[ ! -f "$work/slurm/results/summary.json" ]]; then
    echo "FAIL: the merge job wrote no results"
    cat "$work/slurm/logs/"*.out || true
    exit 1
fi
ls "$work/slurm"
diff -r "$work/single" "$work/slurm/results"
# Every task failing (a campaign refused in each) was reported as success.
echo '{"scenario": "nowhere.json"}' >"$work/bad-campaign.json"
if PRRSIM_BATCH="$batch" bash "$root/scripts/slurm-campaign.sh" "$work/bad-campaign.json" 2 \
    "$work/bad" >/dev/null; then
    echo "FAIL: slurm-campaign.sh exited 0 although every task failed"
    exit 1
fi
echo "PASS: 4 array tasks merged = one process ($(wc -l <"$work/single/runs.jsonl") runs)," \
    "failed tasks reported"
