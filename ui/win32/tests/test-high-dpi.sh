#!/usr/bin/env bash
# The window at 150 % (144 dots per inch): in a fresh Wine prefix set to that
# resolution, every control must lie at its place in twips converted at 144.
# Usage: test-high-dpi.sh <quorvel_window_test.exe>
set -euo pipefail
driver="$1"
wine=/usr/lib/wine/wine64
work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

"$wine" wineboot -i >/dev/null 2>&1 || true
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
/usr/lib/wine/wineserver -w
QUORVEL_TEST_DPI=144 "$wine" "$driver" --gtest_filter='*OpensWithItsTitle*'
