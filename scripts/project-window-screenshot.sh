#!/usr/bin/env bash
# Starts Quorvel with the example project on a virtual display, computes it
# and saves a picture of the project window with the zone on the plan.
# Usage: scripts/project-window-screenshot.sh [program] [picture]
#   program  default: build/bin/quorvel (build it first, e.g. with scripts/build.sh)
#   picture  default: docs/project-window-linux.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/virtual-display.sh"
program="${1:-$root/build/bin/quorvel}"
picture="${2:-$root/docs/project-window-linux.png}"

"$root/scripts/setup.sh" xvfb imagemagick x11-utils xdotool fonts-wqy-zenhei
[ -x "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }

start_virtual_display 1200x760
scratch="$(mktemp -d)"
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# A copy, so that the example in docs/ stays as it is.
cp "$root/docs/example.qvproj" "$scratch/example.qvproj"
HOME="$scratch" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" "$scratch/example.qvproj" >/dev/null 2>&1 &
program_pid=$!

window="$(wait_for_window '"example.qvproj - Quorvel项目计算"')"
DISPLAY="$display" xdotool windowsize "$window" 1180 740 windowmove "$window" 0 0
sleep 1
DISPLAY="$display" xdotool windowactivate --sync "$window" 2>/dev/null || true
DISPLAY="$display" xdotool key --window "$window" F5
# The run is done when the status line says so.
sleep "${QUORVEL_SCREENSHOT_WAIT:-20}"

mkdir -p "$(dirname "$picture")"
import -display "$display" -window "$window" "$picture"
echo "saved $picture"
