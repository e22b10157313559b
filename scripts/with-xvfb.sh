#!/usr/bin/env bash
# Runs a command with a virtual display: the current one if DISPLAY is set,
# else a private Xvfb on a free display number, ended afterwards.
# Usage: scripts/with-xvfb.sh command [arguments...]
set -euo pipefail

if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
command -v Xvfb >/dev/null || { echo "with-xvfb.sh: Xvfb is missing (install xvfb)" >&2; exit 127; }

number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$number" ] && break
    sleep 0.1
done
export DISPLAY=":$number"
status=0
"$@" || status=$?
exit "$status"
