#!/usr/bin/env bash
# Starts the Windows program under Wine on a virtual display and saves a
# picture of its window, title bar included.
# Usage: scripts/screenshot-windows.sh [program] [picture]
#   program  default: build-windows/bin/Quorvel.exe (scripts/build-windows.sh builds it)
#   picture  default: docs/screenshot-windows.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/virtual-display.sh"
program="${1:-$root/build-windows/bin/Quorvel.exe}"
picture="${2:-$root/docs/screenshot-windows.png}"
wine=/usr/lib/wine/wine64

"$root/scripts/setup.sh" xvfb imagemagick x11-utils fonts-wqy-zenhei wine64
[ -f "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
start_virtual_display
export DISPLAY="$display"
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

prepare_wine_for_pictures

(cd "$(dirname "$program")" && "$wine" "$(basename "$program")" >/dev/null 2>&1 &)
window="$(wait_for_main_window 200)"
sleep 2  # let it paint

mkdir -p "$(dirname "$picture")"
import -window "$window" "$picture"
echo "saved $picture"
