#!/usr/bin/env bash
# Sets up, builds and starts Quorvel.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
exec "$root/build/bin/quorvel" "$@"
