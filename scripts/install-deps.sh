#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screenshots need, if missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    fonts-dejavu-core fonts-liberation xvfb xauth
    python3-matplotlib slurm-wlm munge
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [[ $(id -u) -ne 0 ]]; then
        SUDO="sudo"
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi
