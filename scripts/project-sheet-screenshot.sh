#!/usr/bin/env bash
# Computes the example project with quorvel-batch and saves a picture of its
# project sheet down to the site figure, rendered by headless Chromium.
# Usage: scripts/project-sheet-screenshot.sh [tool] [picture]
#   tool     default: build/bin/quorvel-batch (build it first, e.g. with scripts/build.sh)
#   picture  default: docs/project-sheet.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/headless-screenshot.sh"
tool="${1:-$root/build/bin/quorvel-batch}"
picture="${2:-$root/docs/project-sheet.png}"

"$root/scripts/setup.sh" chromium fonts-wqy-zenhei

[ -x "$tool" ] || { echo "no tool at $tool; build it first" >&2; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

"$tool" "$root/docs/example.qvproj" --sheet "$scratch/sheet.html" >/dev/null
headless_screenshot "$scratch" 900,2680 "$picture" "file://$scratch/sheet.html"
