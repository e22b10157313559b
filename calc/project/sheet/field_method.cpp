#include "calc/project/sheet/field_method.h"

#include "calc/sheet/markup.h"

namespace quorvel::project {
namespace {

std::string FormatText(const std::string& format) {
    if (format == "aermod-plot") return "进一步预测模式的绘图文件（PLOTFILE）";
    if (format == "surfer") return "Surfer ASCII 网格文件";
    if (format == "csv") return "CSV 表（x、y、浓度）";
    return format.empty() ? std::string("浓度文件") : format + " 文件";
}

std::string AverageText(const std::string& average) {
    if (average == "1-HR" || average.empty()) return "1 小时平均浓度，与小时评价标准比较";
    if (average == "24-HR") return "24 小时平均浓度，与日均评价标准比较";
    return average + " 平均浓度";
}

std::string GridText(const FieldGridSummary& grid) {
    return std::to_string(grid.columns) + " × " + std::to_string(grid.rows) + " 点，间距 " +
           NumberText(grid.stepX) + " × " + NumberText(grid.stepY) + " m，西南角 (" +
           NumberText(grid.minX) + ", " + NumberText(grid.minY) + ")";
}

}  // namespace

std::string ScreeningMethodText() {
    return "同一污染物的全部面源排放按各自的中心位置与长边方向放置，用面源估算模式的公式"
           "（与单项计算相同的风速廓线、混合层高度与扩散参数）在厂区周围的网格上计算各稳定度、"
           "风速与每一风向下的叠加地面小时浓度，取其最大值。这是最不利气象条件下的保守估算，"
           "只计入无组织面源，不含排气筒等点源；报告中仍须按导则用进一步预测模式与全年逐时"
           "气象复核。";
}

std::string FileMethodText(const PollutantFieldResult& pollutant) {
    if (!pollutant.origin) return {};
    const FieldOrigin& origin = *pollutant.origin;
    std::string text = pollutant.pollutant + "的浓度场取自文件 " + origin.file + "（" +
                       FormatText(origin.format) + "，" + AverageText(origin.average) + "）";
    if (!origin.grids.empty()) {
        text += "，网格";
        for (std::size_t i = 0; i < origin.grids.size(); ++i) {
            text +=
                (i ? "；" : "：") +
                std::string(origin.grids.size() > 1 ? "第 " + std::to_string(i + 1) + " 个 " : "") +
                GridText(origin.grids[i]);
        }
    }
    return text + "；网格之间的浓度按所在最细网格的四个格点线性插值。";
}

}  // namespace quorvel::project
