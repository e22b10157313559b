"""Reads a drawing Quorvel wrote with ezdxf, an independent reader of the
format, and prints what the tests check as JSON.

Usage: python3 read_result_drawing.py DRAWING.dxf [PLAN.dxf PLAN_LAYER]

With a plan, "off_plan" is the largest distance (drawing units) from a vertex
of the drawing's boundary to the outline on PLAN_LAYER of the plan, and
"corners_missed" the largest distance from a vertex of that outline to the
nearest vertex of the drawing's boundary.
"""
import json
import math
import sys

import ezdxf
from ezdxf import path as dxfpath


def ring_area(points):
    twice = 0.0
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        twice += ax * by - bx * ay
    return abs(twice) / 2.0


def hatch_area(hatch):
    area = 0.0
    for boundary in hatch.paths:
        points = [(v[0], v[1]) for v in boundary.vertices]
        outer = bool(boundary.path_type_flags & 1)
        area += ring_area(points) if outer else -ring_area(points)
    return area


def segment_distance(p, a, b):
    ax, ay, bx, by = a[0], a[1], b[0], b[1]
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((p[0] - ax) * dx + (p[1] - ay) * dy) / length))
    return math.hypot(p[0] - ax - t * dx, p[1] - ay - t * dy)


def against_plan(doc, plan_file, plan_layer):
    plan = ezdxf.readfile(plan_file)
    outlines = []
    for entity in plan.modelspace().query("LWPOLYLINE"):
        if entity.dxf.layer == plan_layer and entity.closed:
            points = [(p.x, p.y) for p in dxfpath.make_path(entity).flattening(0.001)]
            outlines.append((points, [(x, y) for x, y in entity.vertices()]))
    outline, corners = max(outlines, key=lambda o: ring_area(o[0]))
    exported = [(x, y) for entity in doc.modelspace().query("LWPOLYLINE")
                if entity.dxf.layer == "QV-厂界" for x, y in entity.vertices()]
    off = max(min(segment_distance(p, a, b) for a, b in zip(outline, outline[1:] + outline[:1]))
              for p in exported)
    missed = max(min(math.hypot(c[0] - p[0], c[1] - p[1]) for p in exported) for c in corners)
    return off, missed


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    style_fonts = {style.dxf.name: style.dxf.font for style in doc.styles}
    out = {
        "version": doc.dxfversion,
        "audit_errors": [str(e.message) for e in auditor.errors],
        "insunits": doc.header.get("$INSUNITS"),
        "layers": {layer.dxf.name: {"colour": layer.dxf.color, "linetype": layer.dxf.linetype}
                   for layer in doc.layers},
        "linetypes": [lt.dxf.name for lt in doc.linetypes],
        "entities": [],
    }
    for entity in doc.modelspace():
        item = {"type": entity.dxftype(), "layer": entity.dxf.layer}
        if item["type"] == "LWPOLYLINE":
            item["closed"] = entity.closed
            item["points"] = [[x, y] for x, y in entity.vertices()]
        elif item["type"] == "CIRCLE":
            item["centre"] = [entity.dxf.center.x, entity.dxf.center.y]
            item["radius"] = entity.dxf.radius
        elif item["type"] == "TEXT":
            item["text"] = entity.dxf.text
            item["height"] = entity.dxf.height
            item["font"] = style_fonts.get(entity.dxf.style, "")
            item["at"] = [entity.dxf.align_point.x, entity.dxf.align_point.y]
        elif item["type"] == "HATCH":
            item["area"] = hatch_area(entity)
            item["solid"] = bool(entity.dxf.solid_fill)
        out["entities"].append(item)
    if len(sys.argv) > 3:
        out["off_plan"], out["corners_missed"] = against_plan(doc, sys.argv[2], sys.argv[3])
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
