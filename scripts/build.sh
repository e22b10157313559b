#!/usr/bin/env bash
# Configures and builds the project. Usage: scripts/build.sh [build-dir] [extra cmake args...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_WERROR=ON "$@"
cmake --build "$build"
ln -sf "$build/compile_commands.json" "$root/compile_commands.json" 2>/dev/null || true
