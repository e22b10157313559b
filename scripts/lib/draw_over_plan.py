"""Imports a site plan into a project with quorvel-batch, gives its sources
pollutants, computes it with --dxf, and draws the result drawing over the
plan, both read by ezdxf, to a PNG: the plan grey, the result in its layers'
colours on white.

Usage: python3 draw_over_plan.py QUORVEL-BATCH PLAN.dxf PICTURE.png
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib import font_manager  # noqa: E402

import ezdxf  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402
from ezdxf.addons.drawing.properties import LayoutProperties  # noqa: E402

# A CJK font for the texts: the drawings name SimSun, which Linux lacks, and
# matplotlib then falls back to its sans-serif list.
for path in font_manager.findSystemFonts():
    if "wqy-zenhei" in path:
        font_manager.fontManager.addfont(path)
        name = font_manager.FontProperties(fname=path).get_name()
        matplotlib.rcParams["font.family"] = "sans-serif"
        matplotlib.rcParams["font.sans-serif"] = [name] + matplotlib.rcParams["font.sans-serif"]
        break


def draw(doc, ax, grey):
    context = RenderContext(doc)
    if grey:
        for layer in context.layers.values():
            layer.color = "#b0b0b0"
    backend = MatplotlibBackend(ax)
    layout = doc.modelspace()
    properties = LayoutProperties.from_layout(layout)
    properties.set_colors("#ffffff")
    Frontend(context, backend).draw_layout(layout, finalize=False, layout_properties=properties)


def computed_result(tool, plan_file, folder):
    """The result drawing of the plan's project, as quorvel-batch writes it."""
    plan = os.path.join(folder, "总平面布置图.dxf")
    shutil.copyfile(plan_file, plan)
    project = os.path.join(folder, "厂区.qvproj")
    subprocess.run([tool, "--import-dxf", plan, "--boundary-layer", "厂界", "--source-layer",
                    "排放源", "--height", "8", "--receptor-layer", "敏感目标", "--save", project],
                   check=True, stdout=subprocess.DEVNULL)
    with open(project, encoding="utf-8") as f:
        data = json.load(f)
    data["name"] = "厂区"
    data["emissions"] = [
        {"source": s["id"], "pollutant": "非甲烷总烃", "rate": 2.0 + 1.0 * i, "unit": "kg/hr",
         "hourly": 2.0, "daily": None} for i, s in enumerate(data["sources"])]
    data["emissions"].append({"source": data["sources"][0]["id"], "pollutant": "H2S",
                              "rate": 0.03, "unit": "kg/hr", "hourly": 0.01, "daily": None})
    with open(project, "w", encoding="utf-8") as f:
        json.dump(data, f, ensure_ascii=False, indent=2)
    result = os.path.join(folder, "厂区-结果.dxf")
    subprocess.run([tool, project, "--no-limits", "--dxf", result], check=True,
                   stdout=subprocess.DEVNULL)
    return plan, result


def main():
    tool, plan_file, picture = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as folder:
        plan_copy, result_file = computed_result(tool, plan_file, folder)
        plan = ezdxf.readfile(plan_copy)
        result = ezdxf.readfile(result_file)
    figure = plt.figure(figsize=(10, 8), dpi=110)
    ax = figure.add_axes([0, 0, 1, 1])
    ax.set_facecolor("white")
    draw(plan, ax, grey=True)
    draw(result, ax, grey=False)
    ax.set_aspect("equal")
    ax.autoscale()
    ax.axis("off")
    os.makedirs(os.path.dirname(os.path.abspath(picture)), exist_ok=True)
    figure.savefig(picture, facecolor="white")
    print("saved", picture)


if __name__ == "__main__":
    main()
