#include "calc/project/sheet/sheet_appendix.h"

#include <iterator>

#include "calc/project/sheet/sheet_text.h"
#include "calc/sheet/markup.h"
#include "calc/sheet/sheet_data.h"
#include "calc/sheet/sheet_figure.h"

namespace quorvel::project {
namespace {

// The table stands in three groups of columns side by side, so that an
// emission's appendix fits on one page.
constexpr std::size_t kGroups = 3;
constexpr double kCompactFigureHeight = 270;  // drawing units; the full figure is 390

// The six cells of one distance; the first of a later group carries the
// rule that sets the group apart.
std::string Cells(const SheetRow& row, double standard, bool laterGroup) {
    const std::string texts[] = {row.distance ? NumberText(*row.distance) : "—",
                                 row.concentration ? NumberText(*row.concentration) : "—",
                                 row.concentration && standard > 0.0
                                     ? FixedText(*row.concentration / standard * 100.0, 2)
                                     : "—",
                                 row.stability.empty() ? "—" : Escaped(row.stability),
                                 row.windSpeed ? FixedText(*row.windSpeed, 1) : "—",
                                 row.direction ? NumberText(*row.direction) : "—"};
    std::string html;
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        std::string classes = i == 0 && laterGroup ? "group" : "";
        if (row.reachesStandard) classes += classes.empty() ? "reach" : " reach";
        html += (classes.empty() ? "<td>" : "<td class=\"" + classes + "\">") + texts[i] + "</td>";
    }
    return html;
}

std::string RowsTable(const SheetFigures& figures, double standard) {
    std::string html = "<table class=\"rows3\">\n<thead><tr>";
    for (std::size_t g = 0; g < kGroups; ++g) {
        html += std::string(g ? "<th class=\"group\">" : "<th>") +
                "距离 (m)</th><th>浓度 (µg/m³)</th><th>占标率 (%)</th><th>稳定度</th>"
                "<th>风速 (m/s)</th><th>风向 (°)</th>";
    }
    html += "</tr></thead>\n<tbody>\n";
    const std::size_t count = figures.rows.size();
    const std::size_t perGroup = (count + kGroups - 1) / kGroups;
    for (std::size_t r = 0; r < perGroup; ++r) {
        html += "<tr>";
        for (std::size_t g = 0; g < kGroups; ++g) {
            const std::size_t i = g * perGroup + r;
            if (i < count) {
                html += Cells(figures.rows[i], standard, g > 0);
            } else {
                html += std::string(g ? "<td class=\"group\"></td>" : "<td></td>") +
                        "<td></td><td></td><td></td><td></td><td></td>";
            }
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string EmissionAppendix(const Project& project, std::size_t number, std::size_t index,
                             const EmissionResult& result) {
    const RunRecord& record = *result.record;
    const SheetFigures figures = ReadSheetFigures(record);
    const double standard = record.comparisonStandard;
    const Emission* emission = EmissionOf(project, index, result);
    std::optional<double> buffer;
    if (record.verdict.bufferDistance) buffer = *record.verdict.bufferDistance;

    std::string html = "<section class=\"appendix\">\n<h3>附录 " + std::to_string(number) + "　" +
                       Html(SourceTitle(project, result.source)) + "：" + Html(result.pollutant) +
                       "</h3>\n<p>";
    if (emission) {
        html += "排放率 " + NumberText(emission->rate) + " " + RateUnitText(emission->unit) + "；";
    }
    html += "比较标准 S = " + NumberText(standard) + " µg/m³；结果：" +
            LinesHtml(record.verdict.text) + "</p>\n<figure>\n" +
            ConcentrationFigureSvg(figures, standard, buffer, kCompactFigureHeight) +
            "<figcaption>图 A" + std::to_string(number) +
            "　各计算距离的最大一小时地面浓度（实线）、S（虚线）、10% S（点线）" +
            (buffer ? "、建议距离（点划线）" : "") + "</figcaption>\n</figure>\n";
    html += RowsTable(figures, standard);
    return html + "</section>\n";
}

}  // namespace

std::string AppendixHtml(const Project& project, const ProjectResults& results) {
    std::string html;
    std::size_t number = 0;
    for (std::size_t i = 0; i < results.emissions.size(); ++i) {
        const EmissionResult& result = results.emissions[i];
        if (!result.record) continue;
        html += EmissionAppendix(project, ++number, i, result);
    }
    if (html.empty()) return html;
    return "<h2 class=\"appendix-title\">附录　各排放的逐距离计算结果</h2>\n"
           "<p class=\"note\">每项排放按其模式报告列出 108 "
           "个计算距离的最大一小时地面浓度；粗体表示该距离的浓度达到或超过比较标准 "
           "S。风向为最不利风向与面源长边的夹角；稳定度 A 至 F 由极不稳定到稳定。</p>\n" +
           html;
}

}  // namespace quorvel::project
