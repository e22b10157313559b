#include "calc/project/sheet/project_sheet.h"

#include <algorithm>
#include <cmath>

#include "calc/project/sheet/field_conclusion.h"
#include "calc/project/sheet/field_section.h"
#include "calc/project/sheet/sheet_appendix.h"
#include "calc/project/sheet/sheet_conclusion.h"
#include "calc/project/sheet/sheet_limits.h"
#include "calc/project/sheet/sheet_text.h"
#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_figure_svg.h"
#include "calc/sheet/markup.h"
#include "calc/sheet/sheet_style.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

constexpr double kSiteFigureWidth = 560;  // drawing units: a point of the figure is about 0.9 pt

// The project sheet's own rules, after the shared ones.
constexpr char kOwnStyle[] = R"(table.grid { width: 100%; font-size: 9.5pt; line-height: 1.35; }
table.grid thead { display: table-header-group; }
table.grid tr { page-break-inside: avoid; }
table.grid td.n { text-align: right; white-space: nowrap; }
table.grid td.c { text-align: center; }
table.grid td.name { white-space: nowrap; }
table.grid tr.inside td { font-weight: bold; }
.notice { border: 1.5pt double #000; padding: 2mm 3mm; margin: 0 0 4mm 0; font-weight: bold; }
.notice p { margin: 0.5mm 0; }
.verdict { border: 1.2pt solid #000; padding: 2mm 3mm; font-weight: bold; font-size: 11pt; }
figure svg.site { width: 90%; margin: 0 auto; }
.appendix { page-break-before: always; }
.appendix figure svg { width: 82%; margin: 0 auto; }
table.rows3 { width: 100%; font-size: 7.5pt; line-height: 1.2; }
table.rows3 th, table.rows3 td { padding: 0.3mm 0.8mm; }
table.rows3 th { font-weight: normal; }
table.rows3 td { text-align: right; }
table.rows3 .group { border-left: 1.5pt solid #000; }
table.rows3 td.reach { font-weight: bold; }
)";

std::string Number(double value) { return NumberText(value); }
std::string Optional(const std::optional<double>& value) {
    return value ? Number(*value) : std::string("—");
}

std::string RunLines(const Project& project, const ProjectResults& results) {
    return "<p class=\"run\">项目：" +
           (project.name.empty() ? std::string("（未命名）") : Html(project.name)) +
           "　　计算时间：" + DateTimeText(results.finished) + "<br/>程序：" +
           (results.program.empty() ? std::string("（未知）") : Html(results.program)) +
           "　　模式：" +
           (results.model.empty() ? std::string("（报告中无标题行）") : Escaped(results.model)) +
           "</p>\n";
}

std::string NoticeBox(const Project& project, const ProjectResults& results) {
    std::vector<std::string> lines = NotFinalLines(project, results);
    for (std::string& line : FieldNotFinalSentences(results)) lines.push_back(std::move(line));
    if (lines.empty()) return {};
    std::string html = "<div class=\"notice\">\n";
    for (const std::string& line : lines) html += "<p>" + Html(line) + "</p>\n";
    return html + "</div>\n";
}

std::string InputsSection(const Project& project, bool field) {
    std::string html = "<h2>一、项目与计算参数</h2>\n<table class=\"pairs\">\n";
    html += Pair("项目名称", project.name.empty() ? "（未命名）" : Html(project.name));
    html += Pair("项目所在位置", project.location == Location::Rural ? "农村" : "城市");
    html += Pair("污染源", std::to_string(project.sources.size()) + " 个");
    html += Pair("排放（污染源与污染物）", std::to_string(project.emissions.size()) + " 项");
    html += Pair("厂界", project.boundary.empty()
                             ? std::string("未给出")
                             : std::to_string(project.boundary.size()) + " 个顶点的多边形");
    html += Pair("敏感目标", std::to_string(project.receptors.size()) + " 个");
    if (project.targetDistance) html += Pair("目标距离", Metres(*project.targetDistance));
    if (project.plan) html += Pair("平面图", Html(project.plan->image));
    html += "</table>\n<p class=\"note\">坐标为厂区坐标（m），x 向东，y 向北。</p>\n";

    html += "<h3>污染源</h3>\n<table class=\"grid\">\n" +
            Head({"编号", "名称", "中心 x (m)", "中心 y (m)", "长边方向 (°)", "有效高度 H (m)",
                  "宽度 W (m)", "长度 L (m)"}) +
            "<tbody>\n";
    for (const Source& s : project.sources) {
        html += "<tr>" + Cell(Html(s.id)) + Cell(s.name.empty() ? "—" : Html(s.name)) +
                Cell(Number(s.centre.x), "n") + Cell(Number(s.centre.y), "n") +
                Cell(Number(s.angle), "n") + Cell(Number(s.height), "n") +
                Cell(Number(s.width), "n") + Cell(Number(s.length), "n") + "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    if (field) {
        html +=
            "<p class=\"note\">注：单项计算不考虑长边方向（取最不利的方向）；"
            "全厂叠加按所列长边方向放置各面源。</p>\n";
    }

    html += "<h3>排放</h3>\n<table class=\"grid\">\n" +
            Head({"污染源", "污染物", "排放率", "小时评价标准 (mg/m³)", "日均评价标准 (mg/m³)"}) +
            "<tbody>\n";
    for (const Emission& e : project.emissions) {
        html += "<tr>" + Cell(Html(SourceTitle(project, e.source))) + Cell(Html(e.pollutant)) +
                Cell(Number(e.rate) + " " + RateUnitText(e.unit), "n") +
                Cell(Optional(e.hourly), "n") + Cell(Optional(e.daily), "n") + "</tr>\n";
    }
    html += "</tbody>\n</table>\n";

    if (!project.boundary.empty()) {
        html += "<h3>厂界顶点</h3>\n<table class=\"grid\">\n" + Head({"序号", "x (m)", "y (m)"}) +
                "<tbody>\n";
        for (std::size_t i = 0; i < project.boundary.size(); ++i) {
            html += "<tr>" + Cell(std::to_string(i + 1), "c") +
                    Cell(Number(project.boundary[i].x), "n") +
                    Cell(Number(project.boundary[i].y), "n") + "</tr>\n";
        }
        html += "</tbody>\n</table>\n";
    }
    if (!project.receptors.empty()) {
        html += "<h3>敏感目标</h3>\n<table class=\"grid\">\n" +
                Head({"序号", "名称", "x (m)", "y (m)"}) + "<tbody>\n";
        for (std::size_t i = 0; i < project.receptors.size(); ++i) {
            const Receptor& r = project.receptors[i];
            html += "<tr>" + Cell(std::to_string(i + 1), "c") + Cell(Html(r.name)) +
                    Cell(Number(r.position.x), "n") + Cell(Number(r.position.y), "n") + "</tr>\n";
        }
        html += "</tbody>\n</table>\n";
    }
    return html;
}

std::string MethodSection() {
    return "<h2>二、计算方法</h2>\n<p>每个污染源的每种污染物单独计算，计算方法与单项计算相同："
           "把污染源看作矩形面源，按面源估算模式在距面源中心 10 m 至 5000 m 的 108 "
           "个固定距离上计算最大一小时地面浓度，与比较标准 S 比较得出建议距离（见附录）。"
           "污染源的建议距离取其各污染物建议距离中最大的一个；以面源中心为圆心、"
           "建议距离为半径的圆为该污染源的控制范围；各控制范围的并集位于厂界以外的部分为项目的"
           "防护区域，防护区域内不应有居民区、学校等敏感目标。</p>\n";
}

std::string Percent(const std::optional<double>& share) {
    return share && std::isfinite(*share) ? FixedText(*share * 100.0, 2) : std::string("—");
}

std::string EmissionResultsTable(const Project& project, const ProjectResults& results) {
    std::string html = "<h3>各排放的计算结果</h3>\n<table class=\"grid\">\n" +
                       Head({"污染源", "污染物", "排放率", "S (µg/m³)", "Cmax (µg/m³)",
                             "Cmax 距离 (m)", "Pmax (%)", "结果"}) +
                       "<tbody>\n";
    for (std::size_t i = 0; i < results.emissions.size(); ++i) {
        const EmissionResult& r = results.emissions[i];
        const Emission* e = EmissionOf(project, i, r);
        const std::string outcome = r.outcome == EmissionOutcome::Error
                                        ? "未能计算：" + Escaped(r.error)
                                        : LinesHtml(r.verdict);
        html += "<tr>" + Cell(Html(SourceTitle(project, r.source))) + Cell(Html(r.pollutant)) +
                Cell(e ? Number(e->rate) + " " + RateUnitText(e->unit) : "—", "n") +
                Cell(Optional(r.standard), "n") + Cell(Optional(r.cmax), "n") +
                Cell(Optional(r.cmaxDistance), "n") + Cell(Percent(r.pmax), "n") + Cell(outcome) +
                "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string SourceOutcomeCell(const SourceResult& source) {
    switch (source.outcome) {
        case SourceOutcome::Distance:
            return Metres(source.distance);
        case SourceOutcome::Beyond:
            return "&gt; 5000 m（须削减源强后重新计算）";
        case SourceOutcome::None:
            return "无超标点";
        case SourceOutcome::Incomplete:
            break;
    }
    return "计算不完整";
}

std::string SourceResultsTable(const Project& project, const ProjectResults& results) {
    std::string html = "<h3>各污染源的建议距离（距面源中心）</h3>\n<table class=\"grid\">\n" +
                       Head({"污染源", "建议距离", "决定建议距离的污染物"}) + "<tbody>\n";
    for (const SourceResult& s : results.sources) {
        html += "<tr>" + Cell(Html(SourceTitle(project, s.id))) + Cell(SourceOutcomeCell(s)) +
                Cell(s.decidingPollutant.empty() ? "—" : Html(s.decidingPollutant)) + "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string FigureSection(const Project& project, const ProjectResults& results,
                          const std::optional<PlanPicture>& picture,
                          const dxf::PlanDrawing* drawing) {
    const SiteFigure figure = BuildSiteFigure(project, &results, picture, drawing);
    std::string html = "<h2>四、厂区图</h2>\n<figure>\n" + SiteFigureSvg(figure, kSiteFigureWidth) +
                       "<figcaption>图 1　厂界（点划线）、污染源（灰色矩形）、控制范围（虚线圆）、"
                       "防护区域（浅灰色）与敏感目标（三角形，涂黑者位于防护区域内）</figcaption>\n"
                       "</figure>\n";
    if (!figure.planProblem.empty()) {
        html += "<p class=\"note\">注：" + Escaped(figure.planProblem) + "。</p>\n";
    }
    return html;
}

std::string ZoneSection(const Project& project, const ProjectResults& results) {
    const ZoneResult& zone = results.zone;
    std::string html = "<h2>五、防护区域与敏感目标</h2>\n<table class=\"pairs\">\n";
    html += Pair("防护区域面积", FixedText(zone.area, 1) + " m²");
    html += Pair("防护区域超出厂界的最远距离", zone.maxBeyondBoundary
                                                   ? FixedText(*zone.maxBeyondBoundary, 1) + " m"
                                                   : std::string("—（项目未给出厂界）"));
    html += Pair("防护区域", zone.bounded ? "已由全部污染源画出"
                                          : "不是最终结果：超过 5000 m 或计算不完整的污染源未画出");
    html += "</table>\n";
    if (project.receptors.empty()) return html + "<p>项目未列出敏感目标。</p>\n";
    html += "<h3>敏感目标与防护区域</h3>\n<table class=\"grid\">\n" +
            Head({"敏感目标", "位于防护区域内", "位于厂界内", "距最近控制范围边缘 (m)"}) +
            "<tbody>\n";
    for (const ReceptorResult& r : results.receptors) {
        html += std::string(r.inside ? "<tr class=\"inside\">" : "<tr>") + Cell(Html(r.name)) +
                Cell(r.inside ? "是" : "否", "c") + Cell(r.inPlant ? "是" : "否", "c") +
                Cell(r.margin ? FixedText(*r.margin, 1) : std::string("—"), "n") + "</tr>\n";
    }
    return html + "</tbody>\n</table>\n" +
           "<p class=\"note\">注：距最近控制范围边缘为敏感目标到各控制范围圆周的最小距离，"
           "负值表示位于控制范围内；粗体为位于防护区域内的敏感目标。</p>\n";
}

std::u16string Digits(int value, int width) {
    value = std::max(value, 0);
    std::u16string text;
    for (int i = 0; i < width; ++i) {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    }
    return text;
}

}  // namespace

std::string ProjectSheetHtml(const Project& project, const ProjectResults& results,
                             const std::optional<PlanPicture>& picture,
                             const dxf::PlanDrawing* drawing) {
    std::string html =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"zh-CN\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n<title>项目计算书 " +
        Html(project.name) + " " + DateTimeText(results.finished) + "</title>\n<style>\n" +
        kSheetBaseStyle + kOwnStyle + "</style>\n</head>\n<body>\n";
    html += "<h1>面源无组织排放建议距离项目计算书</h1>\n" + RunLines(project, results);
    html += NoticeBox(project, results);
    html += InputsSection(project, results.field.has_value());
    html += MethodSection();
    html += "<h2>三、计算结果</h2>\n" + EmissionResultsTable(project, results) +
            SourceResultsTable(project, results) + LimitsTableHtml(project, results);
    html += FigureSection(project, results, picture, drawing);
    html += ZoneSection(project, results);
    const std::string field =
        FieldSectionHtml(project, results, picture, drawing, "六", 2, kSiteFigureWidth);
    html += field;
    std::string conclusion = Html(ConclusionText(project, results));
    if (!field.empty()) {
        conclusion = "<p>" + conclusion + "</p>\n<p>按现行导则（全厂叠加）：";
        for (const std::string& sentence : FieldConclusionSentences(project, results))
            conclusion += Html(sentence);
        conclusion += "</p>\n";
    }
    html += std::string(field.empty() ? "<h2>六、结论</h2>" : "<h2>七、结论</h2>") +
            "\n<div class=\"verdict\">" + conclusion + "</div>\n";
    html += AppendixHtml(project, results);
    html += "</body>\n</html>\n";
    return html;
}

std::u16string ProjectSheetFileName(const LocalTime& t) {
    return u"项目计算书_" + Digits(t.year, 4) + Digits(t.month, 2) + Digits(t.day, 2) + u"-" +
           Digits(t.hour, 2) + Digits(t.minute, 2) + Digits(t.second, 2) + u".html";
}

}  // namespace quorvel::project
