#!/usr/bin/env bash
# A single-node Slurm cluster on this machine, for trying the campaign scripts: Debian's
# slurm-wlm and munge, configured for localhost only, every file in one private directory
# (nothing in /etc is changed; the daemons listen on ports 16817 and 16818 of 127.0.0.1).
#
#   scripts/slurm-local.sh install   installs slurm-wlm and munge if missing (as root)
#   scripts/slurm-local.sh start     starts munged, slurmctld and slurmd; waits for the node
#   scripts/slurm-local.sh stop      stops the daemons it started (by their pid files)
#   scripts/slurm-local.sh env       prints the export lines for sbatch, squeue and friends
#   scripts/slurm-local.sh clean     stops the daemons and removes everything start made
#
# The directory is $PRRSIM_SLURM_DIR (default /tmp/prrsim-slurm). The daemons run as root.
set -euo pipefail
dir="${PRRSIM_SLURM_DIR:-/tmp/prrsim-slurm}"
conf="$dir/slurm.conf"

install() {
    local missing=()
    for p in slurm-wlm munge; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

write_config() {
    mkdir -p "$dir/state" "$dir/spool"
    chmod 700 "$dir"
    if [[ ! -f "$dir/munge.key" ]]; then
        head -c 1024 /dev/urandom >"$dir/munge.key"
        chmod 400 "$dir/munge.key"
    fi
    local cpus
    cpus="$(nproc)"
    cat >"$conf" <<EOF
ClusterName=prrsim
SlurmctldHost=localhost(127.0.0.1)
SlurmctldPort=16817
SlurmdPort=16818
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dir/munge.socket
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
MpiDefault=none
SwitchType=switch/none
ReturnToService=2
SlurmctldTimeout=30
SlurmdTimeout=30
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=local Nodes=localhost Default=YES MaxTime=INFINITE State=UP
EOF
}

running() {
    [[ -f "$1" ]] && kill -0 "$(cat "$1")" 2>/dev/null
}

start() {
    command -v slurmctld >/dev/null || {
        echo "slurm-local: slurm-wlm is not installed (scripts/slurm-local.sh install)" >&2
        exit 77
    }
    write_config
    if ! running "$dir/munged.pid"; then
        munged --socket="$dir/munge.socket" --key-file="$dir/munge.key" \
            --pid-file="$dir/munged.pid" --log-file="$dir/munged.log" \
            --seed-file="$dir/munged.seed" --force
    fi
    running "$dir/slurmctld.pid" || slurmctld -f "$conf" -i
    running "$dir/slurmd.pid" || slurmd -f "$conf" -N localhost
    export SLURM_CONF="$conf"
    for _ in $(seq 1 60); do
        if sinfo -h -N -o "%T" 2>/dev/null | grep -Eq "^(idle|mixed|allocated)"; then
            return 0
        fi
        scontrol update nodename=localhost state=resume >/dev/null 2>&1 || true
        sleep 1
    done
    echo "slurm-local: the node did not come up; see $dir/*.log" >&2
    sinfo -N >&2 || true
    exit 1
}

stop() {
    for daemon in slurmd slurmctld munged; do
        if running "$dir/$daemon.pid"; then
            local pid
            pid="$(cat "$dir/$daemon.pid")"
            kill "$pid"
            for _ in $(seq 1 30); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.2
            done
        fi
    done
}

clean() {
    stop
    # Only a directory this script made: it holds its configuration.
    if [[ -d "$dir" && ! -f "$conf" ]]; then
        echo "slurm-local: $dir holds no slurm.conf of ours; left alone" >&2
        exit 2
    fi
    rm -rf "$dir" "$dir.lock"
}

case "${1:-}" in
    install) install ;;
    start) start ;;
    stop) stop ;;
    env) echo "export SLURM_CONF=$conf" ;;
    clean) clean ;;
    -h | --help) echo "usage: scripts/slurm-local.sh install|start|stop|env|clean" ;;
    *)
        echo "usage: scripts/slurm-local.sh install|start|stop|env|clean" >&2
        exit 2
        ;;
esac
