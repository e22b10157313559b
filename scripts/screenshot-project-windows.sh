#!/usr/bin/env bash
# Opens a project in the Windows program's project window under Wine on a
# virtual display, computes it (F5) and saves a picture of the window with the
# zone on the plan.
# Usage: scripts/screenshot-project-windows.sh [program] [project] [picture]
#   program  default: build-windows/bin/Quorvel.exe (scripts/build-windows.sh builds it)
#   project  default: docs/example.qvproj
#   picture  default: docs/project-window-windows.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/virtual-display.sh"
program="${1:-$root/build-windows/bin/Quorvel.exe}"
project="$(realpath "${2:-$root/docs/example.qvproj}")"
picture="${3:-$root/docs/project-window-windows.png}"
wine=/usr/lib/wine/wine64

"$root/scripts/setup.sh" xvfb imagemagick x11-utils xdotool fonts-wqy-zenhei wine64
[ -f "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }

# Room for the project window's designed size and its frame.
start_virtual_display 1280x800
export DISPLAY="$display"

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

prepare_wine_for_pictures

cp "$project" "$work/project.qvproj"
(cd "$(dirname "$program")" && "$wine" "$(basename "$program")" "$(winepath -w "$work/project.qvproj" 2>/dev/null || echo "Z:$work/project.qvproj")" >/dev/null 2>&1 &)
window="$(wait_for_window 'Quorvel项目计算' 300)"
sleep 2
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window" || true
xdotool key --window "$window" F5
# The run is done when the status line says so; give it time enough.
sleep "${QUORVEL_SCREENSHOT_WAIT:-40}"

mkdir -p "$(dirname "$picture")"
import -window "$window" "$picture"
echo "saved $picture"
