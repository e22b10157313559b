#!/usr/bin/env bash
# Builds the Debian package in Release: build-package/quorvel_<version>_amd64.deb.
# Usage: scripts/package.sh [build-dir]
# Install it with: sudo apt install ./build-package/quorvel_<version>_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
"$root/scripts/setup.sh"

# The build of scripts/test.sh --release; benchmarks are not packaged.
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCHMARKS=OFF
rm -f "$build"/quorvel_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/quorvel_*_amd64.deb
