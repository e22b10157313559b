#!/usr/bin/env bash
# Installs the Debian packages that the Windows build and its tests under Wine
# need (the installer is made with NSIS; the window tests run on a virtual
# display), and only those that are missing. Safe to run again and again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

packages=(
    g++-mingw-w64-x86-64-posix mingw-w64-tools googletest
    libwine-dev wine64 nlohmann-json3-dev
    nsis xvfb
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
