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
program="${1:-$root/build-windows/bin/Quorvel.exe}"
project="$(realpath "${2:-$root/docs/example.qvproj}")"
picture="${3:-$root/docs/project-window-windows.png}"
wine=/usr/lib/wine/wine64

"$root/scripts/setup.sh" xvfb imagemagick x11-utils xdotool fonts-wqy-zenhei wine64
[ -f "$program" ] || { echo "no program at $program; build it first" >&2; exit 1; }

display=""
for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number" >&2; exit 1; }
# Room for the project window's designed size and its frame.
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    xwininfo -display "$display" -root >/dev/null 2>&1 && break
    sleep 0.1
done
export DISPLAY="$display"

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$wine" wineboot -i >/dev/null 2>&1 || true
# As the main window's screenshot: Wine draws the title bar, its caption font
# falls back on the CJK font.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w

cp "$project" "$work/project.qvproj"
(cd "$(dirname "$program")" && "$wine" "$(basename "$program")" "$(winepath -w "$work/project.qvproj" 2>/dev/null || echo "Z:$work/project.qvproj")" >/dev/null 2>&1 &)
window=""
for _ in $(seq 300); do
    window="$(xwininfo -root -tree 2>/dev/null |
        awk '/Quorvel项目计算/ && $0 !~ /has no name/ {print $1; exit}')"
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the project window did not appear" >&2; exit 1; }
sleep 2
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window" || true
xdotool key --window "$window" F5
# The run is done when the status line says so; give it time enough.
sleep "${QUORVEL_SCREENSHOT_WAIT:-40}"

mkdir -p "$(dirname "$picture")"
import -window "$window" "$picture"
echo "saved $picture"
