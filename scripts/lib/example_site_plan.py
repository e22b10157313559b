"""Writes docs/example-site-plan.dxf: a small chemical plant's site plan as a
CAD program saves it (millimetres, national grid coordinates, layers for the
boundary, the sources, the receptors, the buildings, the roads and the
texts), for the README's pictures and for trying 导入DXF….

Usage: /usr/bin/python3 scripts/lib/example_site_plan.py OUTPUT.dxf
"""
import math
import sys

import ezdxf

X0, Y0 = 39512300000.0, 3401250000.0  # mm: the plant's south-west corner


def at(x, y):
    return (X0 + x * 1000.0, Y0 + y * 1000.0)


def rectangle(cx, cy, length, width, angle_deg=0.0):
    a = math.radians(angle_deg)
    ux, uy = math.cos(a) * length / 2, math.sin(a) * length / 2
    vx, vy = -math.sin(a) * width / 2, math.cos(a) * width / 2
    return [at(cx - ux - vx, cy - uy - vy), at(cx + ux - vx, cy + uy - vy),
            at(cx + ux + vx, cy + uy + vy), at(cx - ux + vx, cy - uy + vy)]


def main():
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    colours = {"厂界": 1, "排放源": 6, "敏感目标": 3, "建筑": 8, "道路": 9, "文字": 7}
    for name, colour in colours.items():
        doc.layers.add(name, color=colour)
    msp = doc.modelspace()

    # The boundary, its north-east corner rounded.
    msp.add_lwpolyline([at(0, 0) + (0,), at(300, 0) + (0,), at(300, 180) + (0.4142,),
                        at(280, 200) + (0,), at(0, 200) + (0,)],
                       format="xyb", close=True, dxfattribs={"layer": "厂界"})

    # Buildings and their names.
    buildings = [("综合楼", 40, 170, 50, 20), ("生产车间", 150, 120, 90, 40),
                 ("仓库", 250, 140, 40, 30), ("机修间", 240, 60, 30, 20)]
    for name, cx, cy, length, width in buildings:
        msp.add_lwpolyline(rectangle(cx, cy, length, width), close=True,
                           dxfattribs={"layer": "建筑"})
        msp.add_text(name, dxfattribs={"layer": "文字", "height": 3000,
                                       "insert": at(cx - 5, cy - 1.5)})

    # Roads: the plant's ring road and the county road outside.
    msp.add_lwpolyline([at(15, 15), at(285, 15), at(285, 185), at(15, 185)], close=True,
                       dxfattribs={"layer": "道路"})
    msp.add_line(at(-120, -30), at(450, -30), dxfattribs={"layer": "道路"})
    msp.add_line(at(-120, -40), at(450, -40), dxfattribs={"layer": "道路"})
    msp.add_text("县道X203", dxfattribs={"layer": "文字", "height": 3000,
                                        "insert": at(330, -27)})

    # The sources: a tank farm, the waste water station (turned), the waste store.
    sources = [("罐区", 70, 80, 60, 40, 0), ("污水站", 200, 40, 36, 20, 30),
               ("危废库", 40, 40, 24, 16, 0)]
    for name, cx, cy, length, width, angle in sources:
        msp.add_lwpolyline(rectangle(cx, cy, length, width, angle), close=True,
                           dxfattribs={"layer": "排放源"})
        msp.add_text(name, dxfattribs={"layer": "文字", "height": 3000,
                                       "insert": at(cx - 4, cy - 1.5)})

    # Receptors: villages as a block with the name as its attribute.
    village = doc.blocks.new("村庄")
    village.add_circle((0, 0), 4000)
    village.add_attdef("名称", (5000, -1500), dxfattribs={"height": 3500})
    for name, x, y in (("王家村", 480, 150), ("李家庄", -150, 90), ("东湖小学", 380, 300)):
        insert = msp.add_blockref("村庄", at(x, y), dxfattribs={"layer": "敏感目标"})
        insert.add_attrib("名称", name, at(x + 5, y - 1.5), dxfattribs={"height": 3500})
    doc.saveas(sys.argv[1])


if __name__ == "__main__":
    main()
