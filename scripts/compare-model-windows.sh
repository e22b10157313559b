#!/usr/bin/env bash
# Runs the Linux and the Windows SCREEN3.EXE (the latter under Wine) on the
# same answer files and fails unless both give the same exit code, the same
# SCREEN.DAT and the same SCREEN.OUT apart from the run's date and time.
# One difference is let through and listed: the wind direction column of a
# result row whose other columns agree. Where the concentration barely varies
# with the direction, the last bits of the two platforms' math libraries
# decide which direction the search settles on.
# Usage: scripts/compare-model-windows.sh linux-SCREEN3.EXE windows-SCREEN3.EXE [answer files...]
# (default: every answer file in fuzz/corpus/model_answers).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux="$(realpath "$1")"
windows="$(realpath "$2")"
shift 2
files=("$@")
[ ${#files[@]} -gt 0 ] || files=("$root"/fuzz/corpus/model_answers/*)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The report's run stamp (MM/DD/YY and HH:MM:SS) is the only expected difference.
unstamped() {
    sed -E 's#[0-9]{2}/[0-9]{2}/[0-9]{2}#MM/DD/YY#g; s#[0-9]{2}:[0-9]{2}:[0-9]{2}#HH:MM:SS#g' "$1"
}

# The rows with their last column (the wind direction) left out.
without_direction() {
    awk '/^ +[0-9.]+ +[0-9.]+E[-+][0-9]+( +[0-9.]+)( +[0-9.]+)( +[0-9.]+)( +[0-9.]+)( +[0-9.]+) +[0-9.]+\.\r?$/ { $NF = "" } { print }' "$1"
}

failed=0
for file in "${files[@]}"; do
    name="$(basename "$file")"
    for side in linux windows; do
        mkdir -p "$work/$side/$name"
        cp "$file" "$work/$side/$name/Screen3.INP"
    done
    linux_status=0
    (cd "$work/linux/$name" && "$linux" "<Screen3.INP" </dev/null >stdout.txt 2>&1) ||
        linux_status=$?
    windows_status=0
    (cd "$work/windows/$name" && "$root/scripts/wine-run.sh" "$windows" "<Screen3.INP" \
        </dev/null >stdout.txt 2>&1) || windows_status=$?
    problems=()
    [ "$linux_status" -eq "$windows_status" ] ||
        problems+=("exit codes $linux_status (Linux) and $windows_status (Windows)")
    for out in SCREEN.OUT SCREEN.DAT; do
        a="$work/linux/$name/$out"
        b="$work/windows/$name/$out"
        if [ -e "$a" ] && [ -e "$b" ]; then
            if cmp -s <(unstamped "$a") <(unstamped "$b"); then
                continue
            fi
            unstamped "$a" >"$a.plain"
            unstamped "$b" >"$b.plain"
            if cmp -s <(without_direction "$a.plain") <(without_direction "$b.plain"); then
                echo "note: $name: $out differs only in the wind direction of" \
                    "$(diff "$a.plain" "$b.plain" | grep -c '^<') result rows"
            else
                problems+=("$out differs")
                diff "$a.plain" "$b.plain" | head -10 || true
            fi
        elif [ -e "$a" ] || [ -e "$b" ]; then
            problems+=("$out written by one side only")
        fi
    done
    if [ ${#problems[@]} -eq 0 ]; then
        echo "same report: $name (exit code $linux_status)"
    else
        echo "DIFFERENT: $name: ${problems[*]}"
        failed=1
    fi
done
exit "$failed"
