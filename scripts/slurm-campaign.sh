#!/usr/bin/env bash
# Runs a campaign on a Slurm cluster: a job array of N tasks, task k running shard k/N
# (--shard $SLURM_ARRAY_TASK_ID/N), and a merge job that starts once every task has succeeded.
#
#   scripts/slurm-campaign.sh CAMPAIGN.json N OUT_DIR [sbatch options...]
#
# Shard k writes OUT_DIR/shard-k, the merge OUT_DIR/results (the same files, byte for byte, as
# `prrsim-batch campaign CAMPAIGN.json --out DIR` in one process). Each task uses the CPUs
# Slurm gives it (--cpus-per-task, default 1) as threads. OUT_DIR must be on a file system
# that every node sees. PRRSIM_BATCH names the program (default: build/prrsim-batch beside
# this script). A task started again (requeued) resumes from the runs its shard kept. Prints
# the merge job's id, then waits for it: exit 0 once the merge wrote OUT_DIR/results, 1 when a
# task or the merge failed (OUT_DIR/logs holds their output), 2 for bad arguments.
# PRRSIM_SLURM_NO_WAIT=1 returns at once after printing the id.
set -euo pipefail
usage="usage: scripts/slurm-campaign.sh CAMPAIGN.json N OUT_DIR [sbatch options...]"
if [[ "${1:-}" == "-h" || "${1:-}" == "--help" ]]; then
    echo "$usage"
    exit 0
fi
if (($# < 3)); then
    echo "$usage" >&2
    exit 2
fi
if [[ ! -f "$1" ]]; then
    echo "slurm-campaign: $1: no such campaign file" >&2
    exit 2
fi
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
campaign="$(realpath "$1")"
shards="$2"
out="$(realpath -m "$3")"
shift 3
batch="$(realpath "${PRRSIM_BATCH:-$root/build/prrsim-batch}")"
if ! [[ "$shards" =~ ^[1-9][0-9]*$ ]]; then
    echo "slurm-campaign: N must be a whole number, 1 or more, not $shards" >&2
    exit 2
fi
mkdir -p "$out/logs"
stamp="$out/logs/.submitted"
touch "$stamp"

array=$(sbatch --parsable --job-name=prrsim-campaign --array=0-$((shards - 1)) \
    --output="$out/logs/shard-%a.out" "$@" \
    --wrap="exec '$batch' campaign '$campaign' --shard \$SLURM_ARRAY_TASK_ID/$shards \
--threads \${SLURM_CPUS_PER_TASK:-1} --resume --out '$out/shard-'\$SLURM_ARRAY_TASK_ID")
array="${array%%;*}"
# A task that fails (a bad campaign exits 2 in every task, with its message in the log) cancels
# the merge.
merge=$(sbatch --parsable --job-name=prrsim-merge --dependency=afterok:"$array" \
    --kill-on-invalid-dep=yes \
    --output="$out/logs/merge.out" "$@" \
    --wrap="exec '$batch' merge $(for ((k = 0; k < shards; ++k)); do printf "'%s' " "$out/shard-$k"; done)--out '$out/results'")
merge="${merge%%;*}"
echo "$merge"
if [[ "${PRRSIM_SLURM_NO_WAIT:-0}" == 1 ]]; then
    exit 0
fi
while [[ -n "$(squeue -h -j "$merge" 2>/dev/null)" ]]; do
    sleep 1
done
# The merge replaces the results as a whole: a summary newer than the submission is this
# campaign's.
if [[ "$out/results/summary.json" -nt "$stamp" ]]; then
    exit 0
fi
echo "slurm-campaign: a task or the merge failed; see $out/logs" >&2
exit 1
