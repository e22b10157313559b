#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs and runs every Windows test under
# Wine: the unit tests, the runner component's client test, the window driven
# from another process on a virtual display, and the installer; then compares
# the Windows SCREEN3.EXE's reports with the Linux build's (from build/,
# built when missing).
# Usage: scripts/test-windows.sh [build-dir]   (default build-windows/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-windows}"
"$root/scripts/build-windows.sh" "$build"

# End the Wine servers of the build's prefix, whatever the outcome.
stop_wine() { WINEPREFIX="$build/wine-prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

ctest --test-dir "$build" --output-on-failure -j2 --timeout 900

linux_build="$root/build"
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$linux_build" -G Ninja >/dev/null
fi
cmake --build "$linux_build" --target quorvel_screen_model
QUORVEL_WINEPREFIX="$build/wine-prefix" "$root/scripts/compare-model-windows.sh" \
    "$linux_build/bin/SCREEN3.EXE" "$build/bin/SCREEN3.EXE"
