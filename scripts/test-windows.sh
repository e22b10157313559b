#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs and runs every Windows test under
# Wine: the unit tests, the runner component's client test, the window driven
# from another process on a virtual display, and the installer.
# Usage: scripts/test-windows.sh [build-dir]   (default build-windows/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-windows}"
"$root/scripts/build-windows.sh" "$build"
status=0
ctest --test-dir "$build" --output-on-failure -j2 --timeout 900 || status=$?
# End the Wine servers of the build's prefix, whatever the outcome.
WINEPREFIX="$build/wine-prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
exit "$status"
