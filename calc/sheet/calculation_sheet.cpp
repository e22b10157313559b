#include "calc/sheet/calculation_sheet.h"

#include <cstdio>

#include "calc/derived_quantities.h"
#include "calc/lenient_number.h"
#include "calc/program_version.h"
#include "calc/sheet/markup.h"
#include "calc/sheet/sheet_data.h"
#include "calc/sheet/sheet_figure.h"
#include "calc/sheet/sheet_style.h"

namespace quorvel {
namespace {

// The single sheet's own rules, after the shared ones.
constexpr char kOwnStyle[] =
    R"(.verdict { border: 1.2pt solid #000; padding: 2mm 3mm; font-weight: bold; font-size: 11.5pt; }
table.rows { width: 100%; font-size: 9.5pt; line-height: 1.3; }
table.rows thead { display: table-header-group; }
table.rows tr { page-break-inside: avoid; }
table.rows td { text-align: right; }
table.rows td.mark, table.rows td.class { text-align: center; }
table.rows tr.reach td { font-weight: bold; }
)";

std::string TwoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string DateTimeText(const LocalTime& t) {
    if (t.year == 0) return "（未知）";
    return std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + " " +
           TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string RateUnitName(std::int16_t unit) {
    switch (unit) {
        case 1:
            return "kg/hr";
        case 2:
            return "t/a";
        default:
            return "g/s";
    }
}

std::string Pair(const std::string& heading, const std::string& escapedValue) {
    return "<tr><th>" + heading + "</th><td>" + escapedValue + "</td></tr>\n";
}

std::string Metres(std::optional<double> distance) {
    return distance ? NumberText(*distance) + " m" : std::string("—");
}

std::string FarthestText(const FarthestDistance& farthest) {
    switch (farthest.kind) {
        case FarthestDistance::Kind::Within:
            return Metres(farthest.distance);
        case FarthestDistance::Kind::BeyondLast:
            return "&gt; " + Metres(farthest.distance) + "（计算范围的最远距离仍达到）";
        case FarthestDistance::Kind::None:
            break;
    }
    return "无";
}

std::string InputsSection(const RunRecord& record) {
    const CalculationInputs& in = record.inputs;
    const std::string unit = RateUnitName(in.RateUnit);
    std::string standard;
    if (in.HourlyChecked) {
        standard = "小时评价标准 " + NumberText(ReadLenientNumber(in.HourlyStandardText)) +
                   " mg/m³；S = 小时评价标准 × 1000";
    } else {
        standard = "日均评价标准 " + NumberText(ReadLenientNumber(in.DailyStandardText)) +
                   " mg/m³；S = 日均评价标准 × 1000 × 3";
    }
    std::string html = "<h2>一、计算参数</h2>\n<table class=\"pairs\">\n";
    html += Pair("面源有效高度 H", NumberText(ReleaseHeight(in)) + " m");
    html += Pair("面源宽度 W", NumberText(SourceWidth(in)) + " m");
    html += Pair("面源长度 L", NumberText(SourceLength(in)) + " m");
    std::string rate = NumberText(EmissionRate(in)) + " " + unit;
    if (unit != "g/s") rate += "（折合 " + NumberText(EmissionRateGramsPerSecond(in)) + " g/s）";
    html += Pair("污染物排放率 Q", rate);
    html += Pair("单位面积排放率", NumberText(AreaEmissionRate(in)) + " g/(s·m²)");
    html += Pair("项目所在位置", in.LocationIndex == 0 ? "农村" : "城市");
    html += Pair("所用评价标准", standard);
    html += Pair("比较标准 S", NumberText(record.comparisonStandard) + " µg/m³");
    html += "</table>\n";
    return html;
}

std::string MethodSection() {
    return "<h2>二、计算方法</h2>\n<p>按面源估算模式计算：把污染源看作以上尺寸的矩形面源，"
           "单位面积排放率 = 排放率（g/s）÷（长 × "
           "宽）；采用全部气象组合（各大气稳定度类别及风速），"
           "由模式在各距离上搜索使浓度最大的最不利风向；受体位于地面（受体高度 0 "
           "m），地形按平坦地形；"
           "在距面源中心 10 m 至 5000 m 的 108 个固定距离上计算最大一小时地面浓度，"
           "并由模式的结果汇总给出最大浓度 Cmax 及其距离。各距离的浓度与比较标准 S 相比："
           "建议距离为浓度达到 S 的最远一个距离之后的下一个计算距离；各距离均未达到 S 而 Cmax 达到 "
           "S 时，"
           "取 Cmax 所在距离向上进到下一个 10 m（100 m 及以内）或 50 m 的整数距离。"
           "建议距离均自面源中心量起。</p>\n";
}

std::string VerdictHtml(const std::u16string& verdict) {
    std::string html;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = verdict.find(u"\r\n", start);
        html += Escaped(std::u16string_view(verdict).substr(
            start, end == std::u16string::npos ? std::u16string::npos : end - start));
        if (end == std::u16string::npos) break;
        html += "<br/>";
        start = end + 2;
    }
    return html;
}

std::string ResultSection(const RunRecord& record, const SheetFigures& f) {
    std::string html = "<h2>三、计算结果</h2>\n<div class=\"verdict\">" +
                       VerdictHtml(record.verdict.text) + "</div>\n<p></p>\n";
    html += "<table class=\"pairs\">\n";
    html += Pair("最大浓度 Cmax",
                 f.cmax ? NumberText(*f.cmax) + " µg/m³，距面源中心 " + Metres(f.cmaxDistance)
                        : std::string("无"));
    html += Pair("最大占标率 Pmax = Cmax / S",
                 f.pmaxPercent ? FixedText(*f.pmaxPercent, 2) + " %" : std::string("无"));
    std::string reaching = FarthestText(f.reachingStandard);
    if (f.reachingStandard.kind == FarthestDistance::Kind::None && f.pmaxPercent &&
        *f.pmaxPercent >= 100.0) {
        reaching = "各计算距离均未达到（Cmax 所在的 " + Metres(f.cmaxDistance) + " 处达到）";
    }
    html += Pair("浓度达到 S 的最远距离", reaching);
    html += Pair("D10%（浓度达到 10% S 的最远距离）", FarthestText(f.reachingTenth));
    html += "</table>\n";
    return html;
}

std::string FigureSection(const RunRecord& record, const SheetFigures& f) {
    std::optional<double> buffer;
    if (record.verdict.bufferDistance) buffer = *record.verdict.bufferDistance;
    return "<h2>四、浓度随距离的变化</h2>\n<figure>\n" +
           ConcentrationFigureSvg(f, record.comparisonStandard, buffer) +
           "<figcaption>图 1　各计算距离的最大一小时地面浓度（实线）、比较标准 S（虚线）、"
           "10% S（点线）" +
           std::string(buffer ? "、建议距离（点划线）" : "") +
           "及最大浓度 Cmax（圆点）"
           "</figcaption>\n</figure>\n";
}

std::string Cell(const std::string& text, const char* cssClass = nullptr) {
    return std::string(cssClass ? "<td class=\"" + std::string(cssClass) + "\">" : "<td>") + text +
           "</td>";
}

std::string TableSection(const RunRecord& record, const SheetFigures& f) {
    const double standard = record.comparisonStandard;
    std::string html =
        "<h2>五、各计算距离的浓度</h2>\n<table class=\"rows\">\n<thead><tr>"
        "<th>序号</th><th>距离 (m)</th><th>浓度 (µg/m³)</th><th>占标率 (%)</th>"
        "<th>稳定度</th><th>10 m 风速 (m/s)</th><th>风向 (°)</th><th>≥ S</th>"
        "</tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < f.rows.size(); ++i) {
        const SheetRow& row = f.rows[i];
        html += row.reachesStandard ? "<tr class=\"reach\">" : "<tr>";
        html += Cell(std::to_string(i + 1));
        html += Cell(row.distance ? NumberText(*row.distance) : "—");
        html += Cell(row.concentration ? NumberText(*row.concentration) : "—");
        html += Cell(row.concentration && standard > 0.0
                         ? FixedText(*row.concentration / standard * 100.0, 2)
                         : "—");
        html += Cell(row.stability.empty() ? "—" : Escaped(row.stability), "class");
        html += Cell(row.windSpeed ? FixedText(*row.windSpeed, 1) : "—");
        html += Cell(row.direction ? NumberText(*row.direction) : "—");
        html += Cell(row.reachesStandard ? "●" : "", "mark");
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    html +=
        "<p class=\"note\">注：● 及粗体表示该距离的浓度达到或超过比较标准 S；"
        "风向为最不利风向与面源长边的夹角；稳定度 A 至 F 由极不稳定到稳定。</p>\n";
    return html;
}

}  // namespace

std::string CalculationSheetHtml(const RunRecord& record) {
    const SheetFigures figures = ReadSheetFigures(record);
    std::string html =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"zh-CN\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n<title>计算书 " +
        DateTimeText(record.finished) + "</title>\n<style>\n" + kSheetBaseStyle + kOwnStyle +
        "</style>\n</head>\n<body>\n";
    html += "<h1>面源无组织排放建议距离计算书</h1>\n<p class=\"run\">计算时间：" +
            DateTimeText(record.finished) + "　　程序：" + Escaped(kProgramName) + " " +
            ProgramVersion() + "<br/>模式：" +
            (record.modelTitle.empty() ? std::string("（报告中无标题行）")
                                       : Escaped(record.modelTitle)) +
            "</p>\n";
    html += InputsSection(record);
    html += MethodSection();
    html += ResultSection(record, figures);
    html += FigureSection(record, figures);
    html += TableSection(record, figures);
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace quorvel
