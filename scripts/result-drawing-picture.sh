#!/usr/bin/env bash
# A picture of the result drawing over its site plan: the example plan is
# imported, computed with quorvel-batch --dxf and both drawings are drawn by
# ezdxf (scripts/lib/draw_over_plan.py).
# Usage: scripts/result-drawing-picture.sh [build-dir] [picture]
#   build-dir  default: build (its bin/ holds quorvel-batch)
#   picture    default: docs/result-drawing-over-plan.png
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" python3-matplotlib fonts-wqy-zenhei
exec /usr/bin/python3 "$root/scripts/lib/draw_over_plan.py" "${1:-$root/build}/bin/quorvel-batch" \
    "$root/docs/example-site-plan.dxf" "${2:-$root/docs/result-drawing-over-plan.png}"
