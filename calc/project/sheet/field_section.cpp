#include "calc/project/sheet/field_section.h"

#include <cmath>

#include "calc/project/sheet/field_conclusion.h"
#include "calc/project/sheet/field_figure.h"
#include "calc/project/sheet/field_method.h"
#include "calc/project/sheet/field_text.h"
#include "calc/project/sheet/sheet_text.h"
#include "calc/project/sheet/site_figure_svg.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::string Fixed(const std::optional<double>& value, int decimals) {
    return value && std::isfinite(*value) ? FixedText(*value, decimals) : std::string("—");
}

std::string PercentCell(double share) { return FixedText(share * 100, 1); }

std::string MethodHtml(const FieldResult& field) {
    std::string html;
    if (field.method != "file") html += "<p>" + Html(ScreeningMethodText()) + "</p>\n";
    for (const PollutantFieldResult& p : field.pollutants) {
        const std::string file = FileMethodText(p);
        if (!file.empty()) html += "<p>" + Html(file) + "</p>\n";
    }
    return html +
           "<p>厂界外叠加浓度达到评价标准 S 的区域为该污染物的超标区域，超标区域离厂界的最远距离"
           "为该污染物的防护距离，各污染物中最大者为大气环境防护距离 D（向上取整到米）；"
           "超标区域所临的厂界边以外 D 以内的范围为大气环境防护区域。</p>\n";
}

std::string SourceCell(const PollutantFieldResult& p) {
    return p.origin || p.source != "screening"
               ? "文件 " + Html(p.origin ? p.origin->file : p.source)
               : std::string("估算");
}

std::string PollutantTable(const FieldResult& field) {
    std::string html = "<h3>各污染物的叠加浓度</h3>\n<table class=\"grid\">\n" +
                       Head({"污染物", "浓度来源", "S (µg/m³)", "厂界外最大浓度 (µg/m³)",
                             "位置 x, y (m)", "占标率 (%)", "削减比例 (%)", "防护距离 (m)"}) +
                       "<tbody>\n";
    for (const PollutantFieldResult& p : field.pollutants) {
        html += "<tr>" + Cell(Html(p.pollutant), "name") + Cell(SourceCell(p));
        if (!p.error.empty()) {
            html += "<td colspan=\"6\">未能计算：" + Escaped(p.error) + "</td></tr>\n";
            continue;
        }
        const std::optional<FieldValue>& m = p.maxOutside;
        html += Cell(Fixed(p.standard, 1), "n") + Cell(m ? FixedText(m->c, 1) : "—", "n") +
                Cell(m ? FixedText(m->at.x, 0) + ", " + FixedText(m->at.y, 0) : "—", "n") +
                Cell(m ? PercentCell(m->ratio) : "—", "n") +
                Cell(p.cut ? PercentCell(*p.cut) : "—", "n") +
                Cell(p.distance ? Html(RoundedUpMetres(*p.distance)) : "—", "n") + "</tr>\n";
        if (!p.note.empty()) {
            html += "<tr><td></td><td colspan=\"7\">" +
                    std::string(p.final ? "注：" : "结果非最终：") + Escaped(p.note) +
                    "</td></tr>\n";
        }
    }
    return html + "</tbody>\n</table>\n";
}

std::string SharesText(const FieldValue& value) {
    std::string text;
    for (const FieldShare& share : value.shares) {
        text += (text.empty() ? "" : "，") + share.source + " " +
                (value.c > 0 ? FixedText(share.c / value.c * 100, 0) + "%" : NumberText(share.c));
    }
    return text.empty() ? "—" : text;
}

std::string ReceptorTable(const Project& project, const FieldResult& field) {
    if (project.receptors.empty() || field.receptors.empty()) return {};
    std::string html = "<h3>敏感目标处的叠加浓度</h3>\n<table class=\"grid\">\n" +
                       Head({"敏感目标", "位于防护区域内", "污染物", "浓度 (µg/m³)", "占标率 (%)",
                             "各污染源贡献", "削减比例 (%)"}) +
                       "<tbody>\n";
    for (const ReceptorFieldResult& r : field.receptors) {
        const std::string row = r.inArea ? "<tr class=\"inside\">" : "<tr>";
        if (r.pollutants.empty()) {
            html += row + Cell(Html(r.name)) + Cell(r.inArea ? "是" : "否", "c") +
                    "<td colspan=\"5\">—</td></tr>\n";
        }
        for (std::size_t i = 0; i < r.pollutants.size(); ++i) {
            const ReceptorPollutant& p = r.pollutants[i];
            html += row + Cell(i == 0 ? Html(r.name) : "") +
                    Cell(i == 0 ? (r.inArea ? "是" : "否") : "", "c") +
                    Cell(Html(p.pollutant), "name") + Cell(FixedText(p.value.c, 1), "n") +
                    Cell(PercentCell(p.value.ratio) + (p.exceeds ? "（超标）" : ""), "n") +
                    Cell(Html(SharesText(p.value))) + Cell(PercentCell(p.cut), "n") + "</tr>\n";
        }
    }
    return html + "</tbody>\n</table>\n" +
           "<p class=\"note\">注：各污染源贡献为给出该浓度的气象条件下各污染源所占的份额；"
           "削减比例为使该处浓度降到评价标准所需的排放削减；粗体为位于防护区域内的敏感目标。</p>\n";
}

std::string Figure(const SiteFigure& figure, double widthPx, const std::string& id, int number,
                   const std::string& caption) {
    std::string html = "<figure>\n" + SiteFigureSvg(figure, widthPx, id) + "<figcaption>图 " +
                       std::to_string(number) + "　" + Html(caption) + "</figcaption>\n</figure>\n";
    if (!figure.planProblem.empty()) {
        html += "<p class=\"note\">注：" + Escaped(figure.planProblem) + "。</p>\n";
    }
    return html;
}

std::string Figures(const Project& project, const ProjectResults& results,
                    const std::optional<PlanPicture>& picture, const dxf::PlanDrawing* drawing,
                    int number, double widthPx) {
    std::string html;
    int index = 0;
    for (const PollutantFieldResult& p : results.field->pollutants) {
        ++index;
        if (!p.error.empty()) continue;
        html += Figure(
            BuildFieldFigure(project, results, {p.pollutant}, picture, drawing), widthPx,
            "field-" + std::to_string(index), number++,
            p.pollutant + "的叠加浓度等值线（实线 1.0 S，虚线 0.5 S）与厂界外超标区域（灰色）");
    }
    html += Figure(BuildFieldFigure(project, results, {}, picture, drawing), widthPx, "field-area",
                   number,
                   "大气环境防护区域（浅灰色）、超标区域（深灰色）、超标区域所临的厂界边（粗线）"
                   "与大气环境防护距离 D");
    return html;
}

}  // namespace

std::string FieldSectionHtml(const Project& project, const ProjectResults& results,
                             const std::optional<PlanPicture>& picture,
                             const dxf::PlanDrawing* drawing, const std::string& number,
                             int firstFigure, double widthPx) {
    if (!results.field) return {};
    const FieldResult& field = *results.field;
    std::string html = "<h2>" + number + "、全厂叠加（现行导则做法）</h2>\n" + MethodHtml(field);
    html += PollutantTable(field);
    html += Figures(project, results, picture, drawing, firstFigure, widthPx);
    html += ReceptorTable(project, field);
    html += "<h3>按现行导则的结论</h3>\n<div class=\"verdict\">";
    for (const std::string& sentence : FieldConclusionSentences(project, results))
        html += Html(sentence);
    return html + "</div>\n";
}

}  // namespace quorvel::project
