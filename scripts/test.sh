#!/usr/bin/env bash
# Sets up, builds and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

build="$root/build"
extra=()
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-sanitize"
    extra=(-DQUORVEL_SANITIZE=ON -DQUORVEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug)
fi

"$root/scripts/build.sh" "$build" "${extra[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
