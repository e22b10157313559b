"""Writes the crafted seeds: report shapes of the reader's tests, the input
fields of the check's edge cases, code page 936 texts, refused answers and
project files (the example project, files with every optional and unknown
member, and files the reader refuses)."""
import json
import pathlib
import sys

corpus = pathlib.Path(sys.argv[1])
CRLF = "\r\n"


def table(height, rows, first="          *** SCREEN DISCRETE DISTANCES ***"):
    text = first + CRLF
    text += f" *** TERRAIN HEIGHT OF{(' ' + height):<5} M ABOVE STACK BASE USED FOR FOLLOWING DISTANCES ***" + CRLF
    text += CRLF
    text += "   DIST     CONC              U10M   USTK  MIX HT   PLUME  MAX DIR" + CRLF
    text += "   (M)    (UG/M**3)   STAB   (M/S)  (M/S)   (M)    HT (M)  (DEG)" + CRLF
    text += " -------  ----------  ----  -----  -----  ------   ------  -------" + CRLF
    for distance, concentration in rows:
        row = f" {distance:>7}. {concentration:>11}      6    1.0    1.0  10000.0    15.00    45."
        text += f"{row:<64}"[:64] + CRLF
    text += " MAXIMUM 1-HR CONCENTRATION AT OR BEYOND    10. M:" + CRLF
    return text


def summary(lines):
    text = "     ***************************************" + CRLF
    text += "     *** SUMMARY OF SCREEN MODEL RESULTS ***" + CRLF
    text += "     ***************************************" + CRLF + CRLF
    text += " CALCULATION           MAX CONC   DIST TO   TERRAIN" + CRLF
    text += "  PROCEDURE           (UG/M**3)   MAX (M)   HT (M)" + CRLF
    text += " --------------       ----------  -------   -------" + CRLF
    for line in lines:
        text += line + CRLF
    text += " ***************************************************" + CRLF
    text += " ** REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS **" + CRLF
    return text


def summary_line(concentration, distance, rest="0."):
    return f"{' SIMPLE TERRAIN':<19}{concentration:>11}  {distance:>8}   {rest}"


rows = [(10, "900.0"), (20, "700.0"), (100, "650.0"), (150, "100.0"), (5000, "1.0")]
reports = {
    "two_tables": table("0.", rows) + table("25.", rows[:2]) + summary([summary_line("950.0", "37.")]),
    "no_discrete_heading": " *** SCREEN3 MODEL RUN ***" + CRLF + summary([summary_line("501.0", "2000.")]),
    "summary_42_characters": table("0.", rows) + summary([summary_line("950.0", "37.", "")[:42]]),
    "summary_43_characters": table("0.", rows) + summary([summary_line("950.0", "100.", "")[:43]]),
    "equal_maxima": summary([summary_line("600.0", "101."), summary_line("600.0", "40.")]),
    "last_row_reaches": table("0.", [(10, "1.0"), (5000, "99999.0")]) + summary([summary_line("1.0", "10.")]),
    "truncated_table": table("0.", rows)[:700],
    "no_summary_end": table("0.", rows) + summary([summary_line("950.0", "37.")]).split(" ****")[0],
    "terrain_missing": "          *** SCREEN DISCRETE DISTANCES ***" + CRLF + "REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS",
    "finding_next_distance_overflows_single": table("0.", [(10, "900.0"), ("1.0E+39", "1.0")])
    + summary([summary_line("900.0", "10.")]),
    "finding_negative_summary_distance": summary([summary_line("900.0", "-37.")]),
    "finding_long_row_in_error_text": summary([summary_line("900.0", "1.0E+20", "x" * 2000)]),
    "gbk_title": " 面源计算 " + CRLF + table("0.", rows[:1]) + summary([summary_line("1.0E+05", "1.0E+09")]),
}
for name, text in reports.items():
    (corpus / "report_verdict" / f"crafted_{name}.OUT").write_bytes(text.encode("gbk"))

# Ten fields: height, width, length, rate, unit, hourly checked, hourly,
# daily checked, daily, location.
inputs = {
    "defaults": ["15 m", "100 m", "100 m", "10", "0", "1", "0.5", "0", "0.15", "1"],
    "daily_only": ["2", "30", "30", "50", "2", "0", "0.5", "1", "0.15", "0"],
    "single_overflow": ["15", "1e39", "1e39", "10", "0", "1", "0.5", "0", "0.15", "1"],
    "single_underflow": ["15", "100", "100", "1e-50", "1", "1", "1e-46", "0", "0.15", "1"],
    "ratio_eleven": ["15", "11", "1", "10", "0", "1", "0.5", "0", "0.15", "1"],
    "lenient_forms": ["1 000", "2.5D-3", "1,5", "\t+7e+1", "1", "1", "-0.5", "1", "", "0"],
    "no_standard": ["15", "100", "100", "10", "0", "0", "0.5", "0", "0.15", "1"],
    "area_rate_underflow": ["15", "3e19", "3e19", "1e-30", "0", "1", "0.5", "0", "0.15", "1"],
    "chinese_text": ["十五", "１００", "100米", "10", "2", "1", "0.5", "1", "0.15", "1"],
}
for name, fields in inputs.items():
    (corpus / "input_check" / name).write_bytes("\n".join(fields).encode("utf-8"))

texts = {
    "instructions_gbk": "说明.txt\r\n运行前请确认SCREEN3.EXE在本程序同一目录!\r\n",
    "ascii_report_line": " SIMPLE TERRAIN      2983.          201.         0.\r\n",
}
for name, text in texts.items():
    (corpus / "code_page" / name).write_bytes(text.encode("gbk"))
(corpus / "code_page" / "damaged").write_bytes(b"a\xff\x80b\xcb\x81\x30\x81\x30\xfe")

answers = (corpus / "model_answers" / "default.INP").read_bytes().decode("ascii")
lines = answers.split(CRLF)
refused = {
    "point_source": [lines[0], "P"] + lines[2:],
    "ends_early": lines[:9],
    "bad_number": lines[:2] + ["1.0.0"] + lines[3:],
    "smaller_side_larger": lines[:4] + ["100", "200"] + lines[6:],
    "no_distances": lines[:10] + ["N", "N", "N"],
}
for name, answer_lines in refused.items():
    (corpus / "model_answers" / f"refused_{name}.INP").write_bytes(CRLF.join(answer_lines).encode("ascii"))

# Answers at the edges of what the model accepts, with every optional answer.
edge_answers = {
    "edges_tiny_sides_fixed_direction": ["tiny", "a", "1E6", "0", "1E-300", "1E-300", "9999", "R",
                                         "N", "-360", "3", "6", "1E-3", "N", "Y", "1E-300", "100000", "0", "N"],
    "edges_tall_source_single_class": ["tall", "A", "1E-300", "9999", "100000", "1", "0", "U",
                                       "Y", "2", "1", "Y", "0 100000", "N", "Y"],
    "edges_automated_only": ["x" * 200, "A", "5", "2.5", "20", "20", "1.5", "R", "Y", "1",
                             "Y", "100 100", "N", "N"],
}
for name, answer_lines in edge_answers.items():
    (corpus / "model_answers" / f"{name}.INP").write_bytes(CRLF.join(answer_lines).encode("ascii"))

# Project files: the example project, then variations of a small one.
(corpus / "project_reader").mkdir(exist_ok=True)
example = pathlib.Path(__file__).resolve().parent.parent / "docs" / "example.qvproj"
(corpus / "project_reader" / "example.qvproj").write_bytes(example.read_bytes())


def project(**members):
    document = {
        "format": "quorvel-project", "version": 1, "name": "示例", "location": "urban",
        "sources": [{"id": "S1", "name": "罐区", "x": 120.0, "y": 80.0, "angle": 30.0,
                     "height": 5.0, "width": 40.0, "length": 60.0}],
        "emissions": [{"source": "S1", "pollutant": "非甲烷总烃", "rate": 0.12, "unit": "kg/hr",
                       "hourly": 2.0, "daily": None}],
        "boundary": [[0, 0], [300, 0], [300, 200], [0, 200]],
        "receptors": [{"name": "王家村", "x": 520.0, "y": 150.0}],
    }
    document.update(members)
    return document


full = project(
    editor={"zoom": 1.5, "window": [10, 20, 800, 600]},
    target_distance_m=100,
    plan={"image": "厂区平面图.png", "opacity": 0.5,
          "points": [{"pixel": [12, 30], "site": [0, 200], "label": "A"},
                     {"pixel": [912, 630], "site": [300, 0]}]})
full["sources"][0]["colour"] = "#ff0000"
full["emissions"][0]["cas"] = None
full["receptors"][0]["people"] = 1200
row_faults = project(
    sources=[{"id": "S1", "x": 0, "y": 0, "height": 0, "width": 40, "length": 60},
             {"id": "S2", "x": 0, "y": 0, "height": 5, "width": 1000, "length": 60},
             {"id": "S3", "x": 0, "y": 0, "height": 1e39, "width": 1e-30, "length": 1e-30}],
    emissions=[{"source": "S1", "pollutant": "氨", "rate": 1, "unit": "g/s", "hourly": 0.2},
               {"source": "S2", "pollutant": "氨", "rate": -1, "unit": "t/a", "hourly": 0.2},
               {"source": "S3", "pollutant": "氨", "rate": 1e-50, "unit": "g/s", "daily": 0.1},
               {"source": "S3", "pollutant": "氨", "rate": 1, "unit": "g/s"},
               {"source": "S9", "pollutant": "", "rate": 1, "unit": "g/s", "daily": 0}])
projects = {
    "full": json.dumps(full, ensure_ascii=False, indent=2),
    "compact_with_bom": "\ufeff" + json.dumps(project(location="rural"), ensure_ascii=False),
    "minimal": '{"format": "quorvel-project", "version": 1}',
    "row_faults": json.dumps(row_faults, ensure_ascii=False, indent=1),
    "closed_concave_boundary": json.dumps(project(boundary=[[0, 0], [150, 0], [300, 0], [300, 200],
                                                            [150, 100], [0, 200], [0, 0]])),
    "refused_not_json": '{\n  "format": "quorvel-project",\n  "version": 1\n  "name": "x"\n}',
    "refused_newer_version": json.dumps(project(version=2)),
    "refused_wrong_type": json.dumps(project(sources=[{"id": "S1", "x": 1, "y": 2, "height": "5 m",
                                                       "width": 40, "length": 60}])),
    "refused_duplicate_ids": json.dumps(project(sources=2 * project()["sources"])),
    "refused_crossing_boundary": json.dumps(project(boundary=[[0, 0], [300, 200], [300, 0], [0, 200]])),
    "refused_unit": json.dumps(project(emissions=[{"source": "S1", "pollutant": "氨", "rate": 1,
                                                   "unit": "kg/h"}])),
    "refused_plan_points": json.dumps(project(plan={"image": "p.png", "points": [
        {"pixel": [1, 2], "site": [3, 4]}]})),
    "refused_duplicate_member": '{"format": "quorvel-project", "version": 1, "name": "a", "name": "b"}',
    "refused_number_overflow": '{"format": "quorvel-project", "version": 1, "receptors": [{"x": 1e400, "y": 0}]}',
    "refused_deep_nesting": '{"format": "quorvel-project", "version": 1, "x": ' + "[" * 300 + "]" * 300 + "}",
}
for name, text in projects.items():
    (corpus / "project_reader" / f"{name}.qvproj").write_bytes(text.encode("utf-8"))
