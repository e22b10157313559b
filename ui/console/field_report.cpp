#include "ui/console/field_report.h"

#include <cmath>
#include <vector>

#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"
#include "ui/console/text_table.h"

namespace quorvel {
namespace {

std::string Percent(double ratio) { return FixedText(ratio * 100.0, 1) + "%"; }

std::string Metres(double metres) { return FixedText(metres, 1) + " m"; }

// Four significant digits, as the model's report gives concentrations.
double Significant(double value) {
    if (!(value > 0.0) || !std::isfinite(value)) return value;
    const double step = std::pow(10.0, std::floor(std::log10(value)) - 3.0);
    return std::round(value / step) * step;
}

}  // namespace

std::string FieldTable(const project::FieldResult& field) {
    std::string text =
        "全厂叠加浓度场（现行导则做法；筛选估算：最不利气象，仅无组织面源，不含有组织排放）:\n";
    std::vector<std::vector<std::string>> rows{
        {"污染物", "S (μg/m³)", "厂界外最大浓度 (μg/m³)", "占标率", "需削减", "超出厂界距离"}};
    std::string notes;
    for (const project::PollutantFieldResult& p : field.pollutants) {
        if (!p.error.empty()) {
            rows.push_back({p.pollutant, "-", "未计算", "", "", ""});
            notes += "  " + p.pollutant + ": " + ToUtf8(p.error) + "\n";
            continue;
        }
        std::vector<std::string> row{p.pollutant + (p.final ? "" : "（结果不完整）"),
                                     NumberText(*p.standard)};
        if (p.maxOutside) {
            row.push_back(NumberText(Significant(p.maxOutside->c)));
            row.push_back(Percent(p.maxOutside->ratio));
            row.push_back(p.cut && *p.cut > 0.0 ? Percent(*p.cut) : "0%");
        } else {
            row.insert(row.end(), {"-", "-", "-"});
        }
        row.push_back(p.distance ? Metres(*p.distance) : "-");
        rows.push_back(std::move(row));
        if (!p.note.empty()) notes += "  " + p.pollutant + ": " + ToUtf8(p.note) + "\n";
    }
    text += TextTable(rows) + notes;

    if (!field.distance) {
        text += "项目没有厂界：现行导则的大气环境防护距离须从厂界算起，未确定。\n";
    } else if (*field.distance <= 0.0) {
        text += "厂界外各污染物贡献浓度均未超过标准：不需设置大气环境防护区域。\n";
    } else {
        std::string sides;
        for (int side : field.exceedingSides) {
            sides += (sides.empty() ? "" : "、") + std::to_string(side);
        }
        text += "大气环境防护距离: " + Metres(*field.distance) + "（取整 " +
                NumberText(std::ceil(*field.distance)) +
                " m），决定污染物: " + field.decidingPollutant + "\n超标厂界边: " + sides +
                "\n大气环境防护区域面积: " + NumberText(std::round(*field.area)) + " m²\n";
    }

    if (!field.receptors.empty()) {
        std::vector<std::vector<std::string>> receptorRows{
            {"敏感目标", "最大占标率", "污染物", "位于防护区域内"}};
        for (const project::ReceptorFieldResult& r : field.receptors) {
            const project::ReceptorPollutant* largest = nullptr;
            for (const project::ReceptorPollutant& p : r.pollutants) {
                if (largest == nullptr || p.value.ratio > largest->value.ratio) largest = &p;
            }
            receptorRows.push_back({r.name, largest ? Percent(largest->value.ratio) : "-",
                                    largest ? largest->pollutant : "-",
                                    field.distance ? (r.inArea ? "是" : "否") : "-"});
        }
        text += "\n" + TextTable(receptorRows);
    }
    return text;
}

}  // namespace quorvel
