#!/usr/bin/env bash
# Sets up, configures and cross-builds the Windows programs with MinGW-w64.
# Usage: scripts/build-windows.sh [build-dir] [extra cmake args...]
# (default build-windows/). The application directory is <build-dir>/bin.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-windows}"
shift || true
"$root/scripts/setup-windows.sh"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DQUORVEL_WERROR=ON "$@"
cmake --build "$build"
