#!/usr/bin/env bash
# Makes a project from the example site plan drawing with quorvel-batch.exe,
# opens it in the Windows program's project window under Wine on a virtual
# display and saves a picture of the window with the drawing under the plan.
# Usage: scripts/dxf-window-screenshot-windows.sh [bin-dir] [picture]
#   bin-dir  default: build-windows/bin (scripts/build-windows.sh builds it)
#   picture  default: docs/project-window-dxf-windows.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/virtual-display.sh"
bin="$(realpath "${1:-$root/build-windows/bin}")"
picture="${2:-$root/docs/project-window-dxf-windows.png}"
wine=/usr/lib/wine/wine64

"$root/scripts/setup.sh" xvfb imagemagick x11-utils xdotool fonts-wqy-zenhei wine64
for program in Quorvel.exe quorvel-batch.exe; do
    [ -f "$bin/$program" ] || { echo "no $program in $bin; build it first" >&2; exit 1; }
done

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

cp "$root/docs/example-site-plan.dxf" "$work/plan.dxf"
(cd "$bin" && "$wine" quorvel-batch.exe --import-dxf "Z:$work/plan.dxf" --boundary-layer 厂界 \
    --source-layer 排放源 --height 8 --receptor-layer 敏感目标 --save "Z:$work/project.qvproj")
(cd "$bin" && "$wine" Quorvel.exe "Z:$work/project.qvproj" >/dev/null 2>&1 &)
window="$(wait_for_window 'Quorvel项目计算' 300)"
sleep 3
mkdir -p "$(dirname "$picture")"
import -window "$window" "$picture"
echo "saved $picture"
