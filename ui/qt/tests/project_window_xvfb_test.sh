#!/usr/bin/env bash
# The real program on a virtual display, driven from outside: started with a
# project file as its only argument, it computes the project, writes the
# sheet (whose results are read here), takes an edit and, closed, asks
# whether to save it; Enter (保存) saves and ends the program.
# Usage: project_window_xvfb_test.sh program example.qvproj
set -euo pipefail
program="$1"
example="$2"
for tool in xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

scratch="$(mktemp -d)"
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
cp "$example" "$scratch/site.qvproj"
mkdir -p "$scratch/home/Documents" "$scratch/bin"
# The desktop's browser: records what it is asked to open.
printf '#!/bin/sh\necho "$1" >> "%s/opened"\n' "$scratch" > "$scratch/bin/xdg-open"
chmod +x "$scratch/bin/xdg-open"

HOME="$scratch/home" XDG_DOCUMENTS_DIR="$scratch/home/Documents" PATH="$scratch/bin:$PATH" \
    QT_QPA_PLATFORM=xcb "$program" "$scratch/site.qvproj" >"$scratch/log" 2>&1 &
program_pid=$!

find_window() {  # title
    xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\"" 'index($0, t) {print $1; exit}'
}
wait_for() {  # tenths of a second, command...
    local tries="$1"; shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}
window=""
has_window() { window="$(find_window "site.qvproj - Quorvel项目计算")"; [ -n "$window" ]; }
wait_for 600 has_window || { echo "FAIL: the project window did not appear"; cat "$scratch/log"; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" F5
sleep 1
written() { ls "$scratch/home/Documents/Quorvel/"*.html >/dev/null 2>&1; }
# The run is over when the model has not run for two seconds; then 计算书,
# the entry after 计算 in the 计算 menu (停止, between them, is disabled then).
idle=0
for _ in $(seq 240); do
    sleep 0.5
    if pgrep -P "$program_pid" >/dev/null; then idle=0; continue; fi
    idle=$((idle + 1))
    [ "$idle" -ge 4 ] || continue
    xdotool key --window "$window" alt+c Down Return 2>/dev/null || true
    sleep 1
    written && break
done
written || { echo "FAIL: no sheet was written"; cat "$scratch/log"; exit 1; }
sheet="$(ls "$scratch/home/Documents/Quorvel/"*.html | head -1)"
grep -q "罐区" "$sheet" || { echo "FAIL: the sheet lacks the sources"; exit 1; }
grep -q "建议距离" "$sheet" || { echo "FAIL: the sheet lacks the distances"; exit 1; }

# An edit: the first source's id, then Ctrl+W and Enter on the save prompt.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" F2 ctrl+a
xdotool type --window "$window" "Z1"
xdotool key --window "$window" Return
sleep 0.3
xdotool key --window "$window" ctrl+w
prompt=""
has_prompt() { prompt="$(find_window "Quorvel")"; [ -n "$prompt" ]; }
wait_for 50 has_prompt || { echo "FAIL: no save prompt"; exit 1; }
# Enter is 保存, the prompt's default button. A prompt just mapped may not
# have the keyboard yet, and a key sent then is lost: Enter goes to the
# prompt itself, again every two seconds while it is still there.
ended() { ! kill -0 "$program_pid" 2>/dev/null; }
for _ in $(seq 5); do
    sleep 0.3
    if has_prompt; then
        xdotool windowfocus --sync "$prompt" 2>/dev/null || true
        xdotool key --window "$prompt" Return 2>/dev/null || true
    fi
    wait_for 20 ended && break
done
ended || {
    has_prompt && echo "FAIL: the save prompt did not take Enter" ||
        echo "FAIL: the program did not end after 保存"
    cat "$scratch/log"; exit 1; }
program_pid=""
grep -q '"Z1"' "$scratch/site.qvproj" || { echo "FAIL: the edit was not saved"; exit 1; }
echo "PASS"
