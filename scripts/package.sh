#!/usr/bin/env bash
# Builds the Debian package: the Release build of scripts/test.sh --release,
# its tests, then build-package/quorvel_<version>_amd64.deb.
# Install it with: sudo apt install ./build-package/quorvel_<version>_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
"$root/scripts/test.sh" --release
rm -f "$build"/quorvel_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/quorvel_*_amd64.deb
