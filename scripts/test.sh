#!/usr/bin/env bash
# Sets up, builds and runs every test. Usage: scripts/test.sh [--sanitize|--clang|--release]
#   --sanitize  in build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer
#   --clang     in build-clang/ with clang
#   --release   in build-package/ in Release, the build scripts/package.sh packages
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

build="$root/build"
extra=()
case "${1:-}" in
    --sanitize)
        build="$root/build-sanitize"
        extra=(-DQUORVEL_SANITIZE=ON -DQUORVEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug)
        ;;
    --clang)
        build="$root/build-clang"
        extra=(-DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_BENCHMARKS=OFF)
        ;;
    --release)
        build="$root/build-package"
        source "$root/scripts/lib/release-flags.sh"
        extra=("${release_cmake_args[@]}")
        ;;
esac

"$root/scripts/build.sh" "$build" "${extra[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
