#!/usr/bin/env bash
# Starts Quorvel on a virtual display and saves a picture of its window.
# Usage: scripts/screenshot.sh [program] [picture]
#   program  default: build/bin/quorvel (build it first, e.g. with scripts/build.sh)
#   picture  default: docs/screenshot.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-$root/build/bin/quorvel}"
picture="${2:-$root/docs/screenshot.png}"

# The virtual display, the picture tools and the window's CJK font.
"$root/scripts/setup.sh" xvfb imagemagick x11-utils fonts-wqy-zenhei

[ -x "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }

display=""
for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number" >&2; exit 1; }

Xvfb "$display" -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

for _ in $(seq 50); do
    xwininfo -display "$display" -root >/dev/null 2>&1 && break
    sleep 0.1
done

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
program_pid=$!

window=""
for _ in $(seq 100); do
    window="$(xwininfo -display "$display" -root -tree 2>/dev/null |
        awk '/"Quorvel标准计算程序/ && $0 !~ /has no name/ {print $1; exit}')"
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1  # let it paint

mkdir -p "$(dirname "$picture")"
import -display "$display" -window "$window" "$picture"
echo "saved $picture"
