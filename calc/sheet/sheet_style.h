#pragma once
// The look that every sheet shares: A4 pages, the Chinese serif faces, black
// on white, headings, tables with hairlines, figures and their captions.

namespace quorvel {

// Style rules for a sheet's <style> element; a sheet adds its own after them.
inline constexpr char kSheetBaseStyle[] = R"(@page { size: A4; margin: 16mm 15mm 16mm 15mm; }
html { background: #fff; }
body { margin: 0 auto; max-width: 180mm; padding: 6mm 0; color: #000;
  font-family: "SimSun", "宋体", "Songti SC", "Noto Serif CJK SC", "Noto Sans CJK SC",
    "WenQuanYi Zen Hei", serif;
  font-size: 10.5pt; line-height: 1.5; }
h1 { font-size: 16pt; text-align: center; margin: 0 0 2mm 0; }
h2 { font-size: 12pt; margin: 5mm 0 2mm 0; page-break-after: avoid; }
h3 { font-size: 10.5pt; margin: 3mm 0 1mm 0; page-break-after: avoid; }
p { margin: 1mm 0; }
.run { text-align: center; margin-bottom: 4mm; }
table { border-collapse: collapse; }
th, td { border: 0.5pt solid #000; padding: 0.6mm 2mm; vertical-align: top; }
th { font-weight: bold; background: #fff; }
table.pairs th { text-align: left; white-space: nowrap; }
table.pairs { width: 100%; }
figure { margin: 2mm 0; page-break-inside: avoid; }
figure svg { width: 100%; height: auto; display: block; }
figcaption { text-align: center; font-size: 9.5pt; }
.note { font-size: 9pt; }
)";

}  // namespace quorvel
