#!/usr/bin/env bash
# Makes a project from the example site plan drawing with quorvel-batch,
# opens it in Quorvel on a virtual display and saves a picture of the project
# window with the drawing under the plan.
# Usage: scripts/dxf-window-screenshot.sh [build-dir] [picture]
#   build-dir  default: build (its bin/ holds quorvel and quorvel-batch)
#   picture    default: docs/project-window-dxf-linux.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/virtual-display.sh"
build="${1:-$root/build}"
picture="${2:-$root/docs/project-window-dxf-linux.png}"

"$root/scripts/setup.sh" xvfb imagemagick x11-utils xdotool fonts-wqy-zenhei
for program in quorvel quorvel-batch; do
    [ -x "$build/bin/$program" ] || { echo "no $program in $build/bin; build it first" >&2; exit 1; }
done

start_virtual_display 1200x760
scratch="$(mktemp -d)"
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

cp "$root/docs/example-site-plan.dxf" "$scratch/总平面布置图.dxf"
"$build/bin/quorvel-batch" --import-dxf "$scratch/总平面布置图.dxf" --boundary-layer 厂界 \
    --source-layer 排放源 --height 8 --receptor-layer 敏感目标 --save "$scratch/厂区.qvproj"
HOME="$scratch" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$build/bin/quorvel" "$scratch/厂区.qvproj" >/dev/null 2>&1 &
program_pid=$!

window="$(wait_for_window '"厂区.qvproj - Quorvel项目计算"')"
DISPLAY="$display" xdotool windowsize "$window" 1180 740 windowmove "$window" 0 0
sleep 2
mkdir -p "$(dirname "$picture")"
import -display "$display" -window "$window" "$picture"
echo "saved $picture"
