"""Writes the site plan drawings the DXF tests read, with ezdxf as a second,
independent writer of the format.

Usage: python3 make_drawings.py OUTPUT_FOLDER

Every drawing lies far from the drawing's origin, as real site plans in
national grid coordinates do. The tests know each coordinate written here.
"""
import math
import os
import sys

import ezdxf

# The lower left corner of the plant in the millimetre drawing, whole metres.
MM_OFFSET = (512345000.0, 3401234000.0)


def rectangle(centre, length, width, angle_deg):
    """The four corners of a rectangle, counter-clockwise."""
    a = math.radians(angle_deg)
    ux, uy = math.cos(a) * length / 2, math.sin(a) * length / 2
    vx, vy = -math.sin(a) * width / 2, math.cos(a) * width / 2
    cx, cy = centre
    return [(cx - ux - vx, cy - uy - vy), (cx + ux - vx, cy + uy - vy),
            (cx + ux + vx, cy + uy + vy), (cx - ux + vx, cy - uy + vy)]


def r12_metres(folder):
    """R12, GBK texts, metres without $INSUNITS: old 2D polylines."""
    doc = ezdxf.new("R12")
    doc.header["$DWGCODEPAGE"] = "ANSI_936"
    doc.encoding = "gbk"
    for name in ("BOUNDARY", "SOURCES", "RECEPTORS", "TEXTS"):
        doc.layers.add(name)
    msp = doc.modelspace()
    ox, oy = 1000.0, 2000.0
    msp.add_polyline2d([(ox, oy), (ox + 100, oy), (ox + 100, oy + 80), (ox, oy + 80)],
                       close=True, dxfattribs={"layer": "BOUNDARY"})
    # Closed by its last vertex equal to the first, not by the flag.
    corners = rectangle((ox + 30, oy + 40), 20, 10, 60)
    msp.add_polyline2d(corners + [corners[0]], dxfattribs={"layer": "SOURCES"})
    msp.add_text("车间甲", dxfattribs={"layer": "TEXTS", "insert": (ox + 30, oy + 40),
                                      "height": 2.5})
    msp.add_point((ox + 150, oy + 60), dxfattribs={"layer": "RECEPTORS"})
    msp.add_text("张庄", dxfattribs={"layer": "TEXTS", "insert": (ox + 150, oy + 80),
                                    "height": 2.5})
    doc.saveas(os.path.join(folder, "r12_metres.dxf"))


def mm(x, y):
    return (MM_OFFSET[0] + x * 1000.0, MM_OFFSET[1] + y * 1000.0)


def r2000_gbk_mm(folder):
    """R2000, GBK names, millimetres: blocks, a mirrored insert, receptors."""
    doc = ezdxf.new("R2000")
    doc.header["$DWGCODEPAGE"] = "ANSI_936"
    doc.encoding = "gbk"
    doc.header["$INSUNITS"] = 4
    for name in ("厂界", "排放源", "敏感目标", "文字", "建筑"):
        doc.layers.add(name)
    doc.layers.add("旧图").freeze()
    doc.layers.add("辅助").off()
    msp = doc.modelspace()

    # The boundary: 300 x 200 m, its east side an arc bulging 25 m outwards.
    boundary = msp.add_lwpolyline(
        [mm(0, 0) + (0.0,), mm(300, 0) + (0.25,), mm(300, 200) + (0.0,), mm(0, 200) + (0.0,)],
        format="xyb", close=True, dxfattribs={"layer": "厂界"})
    # A smaller outline on the boundary layer, named in a note.
    msp.add_lwpolyline([mm(10, 10), mm(20, 10), mm(20, 20)], close=True,
                       dxfattribs={"layer": "厂界"})

    # A turned rectangle in model space, named by the text inside it.
    msp.add_lwpolyline(rectangle(mm(100, 50), 40000, 20000, 30), close=True,
                       dxfattribs={"layer": "排放源"})
    msp.add_text("罐区", dxfattribs={"layer": "文字", "insert": mm(100, 50), "height": 2500})

    # A workshop block with a room block nested in it.
    room = doc.blocks.new("小间")
    room.add_lwpolyline(rectangle((0, 0), 8000, 4000, 0), close=True)
    workshop = doc.blocks.new("车间")
    workshop.add_lwpolyline(rectangle((0, 0), 20000, 10000, 0), close=True)
    workshop.add_blockref("小间", (30000, 0), dxfattribs={"rotation": 90})
    msp.add_blockref("车间", mm(200, 100), dxfattribs={
        "layer": "排放源", "xscale": 1.5, "yscale": 1.5, "rotation": 45})

    # A store drawn mirrored: extrusion (0, 0, -1), so OCS x is world -x.
    store = doc.blocks.new("库房")
    store.add_lwpolyline([(0, 0), (10000, 0), (10000, 6000), (0, 6000)], close=True)
    x, y = mm(50, 150)
    msp.add_blockref("库房", (-x, y), dxfattribs={"layer": "排放源", "extrusion": (0, 0, -1)})

    # An L-shaped outline: its smallest enclosing rectangle is 40 x 30 m.
    msp.add_lwpolyline([mm(250, 0), mm(290, 0), mm(290, 10), mm(260, 10), mm(260, 30),
                        mm(250, 30)], close=True, dxfattribs={"layer": "排放源"})

    # Receptors: a block with the village's name as attribute, a circle
    # with a text near it, a point with no text near.
    village = doc.blocks.new("村")
    village.add_circle((0, 0), 2000)
    village.add_attdef("名称", (0, 3000), dxfattribs={"height": 2500})
    insert = msp.add_blockref("村", mm(520, 150), dxfattribs={"layer": "敏感目标"})
    insert.add_attrib("名称", "王家村", mm(520, 153))
    msp.add_circle(mm(600, -50), 5000, dxfattribs={"layer": "敏感目标"})
    msp.add_text("李家庄", dxfattribs={"layer": "文字", "insert": mm(610, -40), "height": 2500})
    msp.add_point(mm(-100, 300), dxfattribs={"layer": "敏感目标"})

    msp.add_line(mm(0, -20), mm(300, -20), dxfattribs={"layer": "建筑"})
    msp.add_line(mm(0, -30), mm(300, -30), dxfattribs={"layer": "旧图"})
    msp.add_circle(mm(0, -40), 1000, dxfattribs={"layer": "辅助"})
    doc.saveas(os.path.join(folder, "r2000_gbk_mm.dxf"))
    return doc


def r2018_utf8_turned(folder):
    """R2018, UTF-8, metres, drawn on a turned grid: a boundary of lines and an arc."""
    doc = ezdxf.new("R2018")
    doc.header["$INSUNITS"] = 6
    for name in ("厂界", "排放源"):
        doc.layers.add(name)
    msp = doc.modelspace()
    ox, oy = 10000.0, 20000.0
    # In no particular order, one line drawn backwards.
    msp.add_line((ox + 200, oy + 0), (ox + 200, oy + 100), dxfattribs={"layer": "厂界"})
    msp.add_line((ox + 0, oy + 0), (ox + 0, oy + 100), dxfattribs={"layer": "厂界"})
    msp.add_arc((ox + 100, oy + 100), 100, 0, 180, dxfattribs={"layer": "厂界"})
    msp.add_line((ox + 0, oy + 0), (ox + 200, oy + 0), dxfattribs={"layer": "厂界"})
    msp.add_lwpolyline(rectangle((ox + 100, oy + 50), 30, 10, 0), close=True,
                       dxfattribs={"layer": "排放源"})
    msp.add_mtext(r"{\fSimSun|b0|i0;\H2.5;污水站}\P一期", dxfattribs={
        "layer": "排放源", "insert": (ox + 95, oy + 52)})
    doc.saveas(os.path.join(folder, "r2018_utf8_turned.dxf"))


def r2004_escapes(folder):
    """R2004 in a Western code page: Chinese names come as \\U+ and \\M+ escapes."""
    doc = ezdxf.new("R2004")
    doc.header["$DWGCODEPAGE"] = "ANSI_1252"
    doc.header["$INSUNITS"] = 6
    doc.layers.add("厂界")
    doc.layers.add("敏感目标")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (50, 0), (50, 40), (0, 40)], close=True,
                       dxfattribs={"layer": "厂界"})
    msp.add_point((80, 20), dxfattribs={"layer": "敏感目标"})
    msp.add_text(r"\M+5CDF5家", dxfattribs={"layer": "敏感目标", "insert": (82, 22)})
    doc.saveas(os.path.join(folder, "r2004_escapes.dxf"))


def unusable(folder, source):
    source.saveas(os.path.join(folder, "binary.dxf"), fmt="bin")
    with open(os.path.join(folder, "plan.dwg"), "wb") as out:
        out.write(b"AC1032\x00\x00\x00\x00\x00\x00\x00\x00" + bytes(range(256)))
    with open(os.path.join(folder, "r2000_gbk_mm.dxf"), "rb") as whole:
        text = whole.read()
    with open(os.path.join(folder, "truncated.dxf"), "wb") as out:
        out.write(text[: len(text) // 2])
    with open(os.path.join(folder, "notes.dxf"), "wb") as out:
        out.write("厂区平面图说明\n这不是图形文件。\n".encode("utf-8"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    r12_metres(folder)
    source = r2000_gbk_mm(folder)
    r2018_utf8_turned(folder)
    r2004_escapes(folder)
    unusable(folder, source)


if __name__ == "__main__":
    main()
