#!/usr/bin/env bash
# Installs Quorvel silently into a fresh Wine prefix, computes the default
# verdict with the installed program, uninstalls silently and checks that
# nothing the installer made is left.
# Usage: test-installer.sh <setup.exe> <quorvel_window_test.exe>
set -euo pipefail
setup="$1"
driver="$2"
wine=/usr/lib/wine/wine64

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test-installer: $*" >&2; exit 1; }

"$wine" wineboot -i >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
install_dir="$user_dir/AppData/Local/Programs/Quorvel"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvel标准计算程序(Ver1.2).lnk"

"$wine" "$setup" /S || fail "the installer failed"
/usr/lib/wine/wineserver -w
for file in Quorvel.exe quorvel-batch.exe Tolvane.dll SCREEN3.EXE 说明.txt Uninstall.exe; do
    [ -f "$install_dir/$file" ] || fail "$file was not installed in $install_dir"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
"$wine" reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
echo "installed in $install_dir"

# The installed program computes the default verdict where it is installed.
QUORVEL_TEST_APP_DIR="Z:${install_dir//\//\\}" \
    "$wine" "$driver" --gtest_filter='*DefaultsGiveTheVerdict*' || fail "the installed program failed"

# The installed console tool computes the example project.
example="$(cd "$(dirname "$0")/../../.." && pwd)/docs/example.qvproj"
results="$(mktemp --suffix=.json)"
"$wine" "$install_dir/quorvel-batch.exe" "Z:${example//\//\\}" --results "Z:${results//\//\\}" \
    >/dev/null || fail "the installed quorvel-batch.exe failed"
grep -q '"format": "quorvel-results"' "$results" || fail "quorvel-batch.exe wrote no results"
rm -f "$results"
echo "the installed quorvel-batch.exe computed the example project"

"$wine" "$install_dir/Uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on as a copy of itself: wait for it.
/usr/lib/wine/wineserver -w
for _ in $(seq 60); do [ -e "$install_dir" ] || break; sleep 0.5; done
[ ! -e "$install_dir" ] || fail "left behind: $(ls -A "$install_dir")"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
if "$wine" reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry is left"; fi
echo "uninstalled: no file, shortcut or registry key left"
