#!/usr/bin/env bash
# Runs a Windows program under Wine in a private Wine prefix, set up on first
# use. CTest calls it as the cross-compiling emulator.
# Usage: scripts/wine-run.sh program.exe [arguments...]
# The prefix is $QUORVEL_WINEPREFIX, else wine-prefix in the current build
# directory's parent chain (the directory holding CMakeCache.txt), else one
# under /tmp. End its server with: WINEPREFIX=<prefix> /usr/lib/wine/wineserver -k
set -euo pipefail

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine-run.sh: $wine is missing (install wine64)" >&2; exit 127; }

prefix="${QUORVEL_WINEPREFIX:-}"
if [ -z "$prefix" ]; then
    dir="$PWD"
    while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir="$(dirname "$dir")"; done
    if [ -f "$dir/CMakeCache.txt" ]; then
        prefix="$dir/wine-prefix"
    else
        prefix="/tmp/quorvel-wine-$(id -u)/prefix"
    fi
fi
mkdir -p "$(dirname "$prefix")"

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No offers to install Mono or Gecko, which would wait for an answer.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64

# Set the prefix up once; concurrent callers wait for the first.
(
    flock 9
    if [ ! -f "$prefix/.quorvel-ready" ]; then
        rm -rf "$prefix"
        "$wine" wineboot -i >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w
        [ -f "$prefix/system.reg" ] || { echo "wine-run.sh: wineboot failed in $prefix" >&2; exit 1; }
        touch "$prefix/.quorvel-ready"
    fi
) 9>"$prefix.lock"

exec "$wine" "$@"
