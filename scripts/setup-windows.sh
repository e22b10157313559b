#!/usr/bin/env bash
# Installs the Debian packages that the Windows build and its tests under Wine
# need (the installer is made with NSIS; the window tests run on a virtual
# display), and only those that are missing. Safe to run again and again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" \
    g++-mingw-w64-x86-64-posix mingw-w64-tools googletest \
    libwine-dev wine64 nlohmann-json3-dev \
    nsis xvfb
