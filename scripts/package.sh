#!/usr/bin/env bash
# Builds the Debian package: the Release build of scripts/test.sh --release in
# build-package/, only what the package installs and its check needs (the
# tests run in the other builds; `scripts/test.sh --release` runs them in
# Release), then build-package/quorvel_<version>_amd64.deb.
# Install it with: sudo apt install ./build-package/quorvel_<version>_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
"$root/scripts/setup.sh"
source "$root/scripts/lib/release-flags.sh"
# CPack installs what is built without building everything first.
cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_WERROR=ON "${release_cmake_args[@]}" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$build" --target quorvel quorvel-batch quorvel_screen_model Tolvane \
    quorvel_desktop_icons quorvel_compressed_docs installed_run_check
rm -f "$build"/quorvel_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/quorvel_*_amd64.deb
