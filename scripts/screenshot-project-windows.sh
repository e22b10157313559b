#!/usr/bin/env bash
# Opens a project in the Windows program's project window under Wine on a
# virtual display, computes it (F5) and saves a picture of the window with the
# zone on the plan; then, when the window's field test is built, lets it
# drive the window at 1366 x 768 and saves the current rule's pictures:
# docs/project-window-area-windows.png (all pollutants with the protection
# area) and docs/project-window-contours-windows.png (one pollutant's
# contours).
# Usage: scripts/screenshot-project-windows.sh [program] [project] [picture]
# QUORVEL_SCREENSHOT_SCREEN (default 1366x768) and QUORVEL_SCREENSHOT_DPI
# (e.g. 120 for 125 %) take them on another screen, into
# QUORVEL_SCREENSHOT_DIR (default docs/) for the current rule's pictures.
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

# The smallest screen the window is made for.
start_virtual_display "${QUORVEL_SCREENSHOT_SCREEN:-1366x768}"
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
if [ -n "${QUORVEL_SCREENSHOT_DPI:-}" ]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$QUORVEL_SCREENSHOT_DPI" /f >/dev/null
    /usr/lib/wine/wineserver -w
fi

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

# The current rule's pictures, taken by the field test (it opens the example
# project itself and maximizes the window).
field_test="$root/build-windows/tests-bin/quorvel_project_window_field_test.exe"
if [ -f "$field_test" ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    mkdir -p "$work/pictures"
    QUORVEL_WINDOW_PICTURES="Z:${work//\//\\}\\pictures" \
        "$wine" "$field_test" --gtest_filter='*ShowsTheCurrentRule*' >/dev/null
    folder="${QUORVEL_SCREENSHOT_DIR:-$root/docs}"
    for name in area contours; do
        convert "$work/pictures/$name.bmp" "$folder/project-window-$name-windows.png"
        echo "saved $folder/project-window-$name-windows.png"
    done
else
    echo "no $field_test: the current rule's pictures are not taken" >&2
fi
