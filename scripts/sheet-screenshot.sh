#!/usr/bin/env bash
# Presses 运行 and then 计算书 in Quorvel on a virtual display, as a person
# does, and saves a picture of the calculation sheet that the program hands to
# the desktop's browser, rendered by headless Chromium.
# Usage: scripts/sheet-screenshot.sh [program] [picture]
#   program  default: build/bin/quorvel (build it first, e.g. with scripts/build.sh)
#   picture  default: docs/sheet.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/headless-screenshot.sh"
. "$root/scripts/lib/virtual-display.sh"
program="${1:-$root/build/bin/quorvel}"
picture="${2:-$root/docs/sheet.png}"

"$root/scripts/setup.sh" xvfb x11-utils xdotool chromium fonts-wqy-zenhei

[ -x "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }

# A scratch home: the sheet goes to its Documents folder, and the desktop's
# "open" is a stand-in that notes what it was asked to open.
scratch="$(mktemp -d)"
mkdir -p "$scratch/home/Documents" "$scratch/bin"
cat >"$scratch/bin/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$1" >"$scratch/opened"
STUB
chmod +x "$scratch/bin/xdg-open"


start_virtual_display
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT


HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" PATH="$scratch/bin:$PATH" \
    DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
program_pid=$!

window="$(wait_for_main_window 100)"
sleep 1

# Button centres in pixels at 96 dots per inch (twips / 15): 运行 inside the
# result frame, 计算书 in the bottom row.
click() { DISPLAY="$display" xdotool mousemove --window "$window" "$1" "$2" click 1; }
click 406 73
sleep 8  # the model's run
click 107 297
for _ in $(seq 100); do
    [ -s "$scratch/opened" ] && break
    sleep 0.1
done
[ -s "$scratch/opened" ] || { echo "the sheet was not opened" >&2; exit 1; }
sheet="$(head -n 1 "$scratch/opened")"
echo "opened $sheet"

headless_screenshot "$scratch" 900,1640 "$picture" "$sheet"
