#!/usr/bin/env bash
# Starts Quorvel on a virtual display and saves a picture of its window.
# Usage: scripts/screenshot.sh [program] [picture]
#   program  default: build/bin/quorvel (build it first, e.g. with scripts/build.sh)
#   picture  default: docs/screenshot.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/virtual-display.sh"
program="${1:-$root/build/bin/quorvel}"
picture="${2:-$root/docs/screenshot.png}"

# The virtual display, the picture tools and the window's CJK font.
"$root/scripts/setup.sh" xvfb imagemagick x11-utils fonts-wqy-zenhei

[ -x "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }


start_virtual_display
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT


DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
program_pid=$!

window="$(wait_for_main_window 100)"
sleep 1  # let it paint

mkdir -p "$(dirname "$picture")"
import -display "$display" -window "$window" "$picture"
echo "saved $picture"
