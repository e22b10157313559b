"""Writes the crafted seeds: report shapes of the reader's tests, the input
fields of the check's edge cases, code page 936 texts and refused answers."""
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
