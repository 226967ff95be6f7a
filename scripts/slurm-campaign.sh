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
# this script). Prints the merge job's id; `squeue` shows the jobs, OUT_DIR/logs their output.
set -euo pipefail
if (($# < 3)); then
    echo "usage: scripts/slurm-campaign.sh CAMPAIGN.json N OUT_DIR [sbatch options...]" >&2
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

array=$(sbatch --parsable --job-name=prrsim-campaign --array=0-$((shards - 1)) \
    --output="$out/logs/shard-%a.out" "$@" \
    --wrap="exec '$batch' campaign '$campaign' --shard \$SLURM_ARRAY_TASK_ID/$shards \
--threads \${SLURM_CPUS_PER_TASK:-1} --out '$out/shard-'\$SLURM_ARRAY_TASK_ID")
array="${array%%;*}"
# A task that fails (a bad campaign exits 2 in every task, with its message in the log) cancels
# the merge.
merge=$(sbatch --parsable --job-name=prrsim-merge --dependency=afterok:"$array" \
    --kill-on-invalid-dep=yes \
    --output="$out/logs/merge.out" "$@" \
    --wrap="exec '$batch' merge $(for ((k = 0; k < shards; ++k)); do printf "'%s' " "$out/shard-$k"; done)--out '$out/results'")
echo "${merge%%;*}"
