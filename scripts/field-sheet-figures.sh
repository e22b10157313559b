#!/usr/bin/env bash
# Computes the example project with quorvel-batch and saves a picture of the
# current rule's figures of its project sheet (each pollutant's contours and
# exceedance, and the protection area), rendered by headless Chromium.
# Usage: scripts/field-sheet-figures.sh [tool] [picture]
#   tool     default: build/bin/quorvel-batch (build it first, e.g. with scripts/build.sh)
#   picture  default: docs/project-sheet-field.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/headless-screenshot.sh"
tool="${1:-$root/build/bin/quorvel-batch}"
picture="${2:-$root/docs/project-sheet-field.png}"

"$root/scripts/setup.sh" chromium fonts-wqy-zenhei

[ -x "$tool" ] || { echo "no tool at $tool; build it first" >&2; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

"$tool" "$root/docs/example.qvproj" --sheet "$scratch/sheet.html" --no-limits >/dev/null
# The sheet's style, then the section's first pollutant's figure and the
# protection area's figure side by side.
python3 - "$scratch/sheet.html" "$scratch/figures.html" <<'PY'
import re, sys
sheet = open(sys.argv[1], encoding="utf-8").read()
style = re.search(r"<style>.*?</style>", sheet, re.S).group(0)
start = sheet.index("全厂叠加（现行导则做法）</h2>")
end = sheet.index("<h2>", start)
figures = re.findall(r"<figure>.*?</figure>", sheet[start:end], re.S)
figures = [figures[0], figures[-1]]
page = ("<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"/>" + style +
        "<style>body{max-width:none;margin:0;padding:4mm;} .pair{display:grid;width:1560px;"
        "grid-template-columns:1fr 1fr;gap:6mm;} figure{margin:0;} "
        "figure svg.site{width:100%;}</style></head><body><div class=\"pair\">" +
        "".join(figures) + "</div></body></html>")
open(sys.argv[2], "w", encoding="utf-8").write(page)
PY
headless_screenshot "$scratch" 1600,1000 "$picture" "file://$scratch/figures.html"
