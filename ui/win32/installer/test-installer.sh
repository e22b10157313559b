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

# Project files open in the installed program.
progid='HKCU\Software\Classes\Quorvel.Project.1'
ext='HKCU\Software\Classes\.qvproj'
win_dir="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Quorvel"
# A key's string value ("" for its default) as UTF-8: reg query prints
# through the console's code page, reg export writes UTF-16.
reg_value() {
    local file="$work/value.reg" line
    rm -f "$file"
    "$wine" reg export "$1" "Z:${file//\//\\}" /y >/dev/null 2>&1 || return 0
    if [ -z "$2" ]; then line='@='; else line="\"$2\"="; fi
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | grep -m1 -F "$line" | cut -c$((${#line} + 1))- |
        sed 's/^"//; s/"$//; s/\\"/"/g; s/\\\\/\\/g'
}
expect_value() {
    local got
    got="$(reg_value "$1" "$2")"
    [ "$got" = "$3" ] || fail "$1 ${2:-(default)} is '$got', not '$3'"
}
expect_value "$progid" "" "Quorvel项目"
expect_value "$progid\DefaultIcon" "" "$win_dir\Quorvel.exe,0"
expect_value "$progid\shell\open\command" "" "\"$win_dir\Quorvel.exe\" \"%1\""
expect_value "$ext" "" "Quorvel.Project.1"
"$wine" reg query "$ext\OpenWithProgids" /v Quorvel.Project.1 >/dev/null 2>&1 ||
    fail "Quorvel.Project.1 is not among the extension's OpenWithProgids"
echo ".qvproj opens in $win_dir\Quorvel.exe"

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
if "$wine" reg query "$progid" >/dev/null 2>&1; then fail "the ProgID is left"; fi
if "$wine" reg query "$ext" >/dev/null 2>&1; then fail "the .qvproj key is left"; fi
echo "uninstalled: no file, shortcut or registry key left"

# A .qvproj another program took over after the install keeps its owner.
"$wine" "$setup" /S || fail "the second install failed"
/usr/lib/wine/wineserver -w
"$wine" reg add "$ext" /ve /d Other.Project /f >/dev/null 2>&1
"$wine" "$install_dir/Uninstall.exe" /S || fail "the second uninstall failed"
/usr/lib/wine/wineserver -w
for _ in $(seq 60); do [ -e "$install_dir" ] || break; sleep 0.5; done
expect_value "$ext" "" "Other.Project"
if "$wine" reg query "$ext\OpenWithProgids" /v Quorvel.Project.1 >/dev/null 2>&1; then
    fail "Quorvel.Project.1 is left among the OpenWithProgids"
fi
if "$wine" reg query "$progid" >/dev/null 2>&1; then fail "the ProgID is left after the second uninstall"; fi
echo "the uninstaller left the other program's .qvproj default alone"
