#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# and only those that are missing. Safe to run again and again.
# Usage: scripts/setup.sh [more packages a script needs...]
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libboost-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    fonts-wqy-zenhei xvfb xauth xdg-utils libxml2-utils xdotool
    dpkg-dev python3-ezdxf
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
