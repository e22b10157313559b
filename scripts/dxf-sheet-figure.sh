#!/usr/bin/env bash
# Makes a project from the example site plan drawing with quorvel-batch,
# writes its sheet and saves a picture of the sheet's site figure, with the
# drawing under it, rendered by rsvg-convert.
# Usage: scripts/dxf-sheet-figure.sh [build-dir] [picture]
#   build-dir  default: build (its bin/ holds quorvel-batch)
#   picture    default: docs/project-sheet-dxf-figure.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
picture="${2:-$root/docs/project-sheet-dxf-figure.png}"

"$root/scripts/setup.sh" librsvg2-bin fonts-wqy-zenhei
[ -x "$build/bin/quorvel-batch" ] || { echo "no quorvel-batch in $build/bin; build it first" >&2; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cp "$root/docs/example-site-plan.dxf" "$scratch/总平面布置图.dxf"
"$build/bin/quorvel-batch" --import-dxf "$scratch/总平面布置图.dxf" --boundary-layer 厂界 \
    --source-layer 排放源 --height 8 --receptor-layer 敏感目标 --save "$scratch/厂区.qvproj" >/dev/null
"$build/bin/quorvel-batch" "$scratch/厂区.qvproj" --sheet "$scratch/sheet.html" --no-limits >/dev/null
# The sheet's first figure is the site figure.
awk '/<svg/ {on = 1} on {print} /<\/svg>/ && on {exit}' "$scratch/sheet.html" >"$scratch/figure.svg"
mkdir -p "$(dirname "$picture")"
rsvg-convert -w 900 -b white "$scratch/figure.svg" -o "$picture"
echo "saved $picture"
