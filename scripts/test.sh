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
        # Built as Debian builds its packages: the distribution's hardening
        # flags, without its -g and -O2 (Release optimises; the package is
        # stripped).
        export DEB_BUILD_MAINT_OPTIONS=hardening=+all
        cxxflags=()
        for flag in $(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS); do
            [ "$flag" = -g ] || [ "$flag" = -O2 ] || cxxflags+=("$flag")
        done
        ldflags="$(dpkg-buildflags --get LDFLAGS)"
        extra=(-DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCHMARKS=OFF
            "-DCMAKE_CXX_FLAGS=${cxxflags[*]}" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags"
            "-DCMAKE_SHARED_LINKER_FLAGS=$ldflags" "-DCMAKE_MODULE_LINKER_FLAGS=$ldflags")
        ;;
esac

"$root/scripts/build.sh" "$build" "${extra[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
