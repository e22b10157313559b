#include "calc/project/sheet/project_sheet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "calc/project/sheet/tests/picture_bytes.h"
#include "calc/project/sheet/tests/project_records.h"
#include "calc/project/sheet/tests/well_formed.h"
#include "calc/sheet/markup.h"

namespace quorvel::project {
namespace {

using test_support::SampleProject;
using test_support::SampleResults;
using test_support::WellFormed;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    const auto start = text.find(from);
    if (start == std::string::npos) return {};
    const auto end = text.find(to, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string BeforeFirstSection(const std::string& html) {
    return html.substr(0, html.find("<h2>"));
}

// A project whose S1 still exceeds at 5000 m and whose S2 has a failed row.
ProjectResults UnfinishedResults() {
    ProjectResults results = SampleResults();
    results.emissions[1].outcome = EmissionOutcome::Beyond;
    results.emissions[1].distance.reset();
    results.emissions[1].verdict =
        u"最远超标距离 > 5000 m\r\n\r\n污染源强可能超标，建议削减源强后，再计算";
    results.emissions[2] = EmissionResult{};
    results.emissions[2].source = "S2";
    results.emissions[2].pollutant = "氨";
    results.emissions[2].error = u"S2 污水站 的 氨：未给出评价标准";
    results.sources[0] = {"S1", SourceOutcome::Beyond, std::nullopt, ""};
    results.sources[1] = {"S2", SourceOutcome::Incomplete, std::nullopt, ""};
    results.zone = test_support::ZoneOf({{{60, 160}, 50}}, SampleProject().boundary);
    results.zone.bounded = false;
    results.zone.maxBeyondBoundary = 10;
    return results;
}

TEST(ProjectSheet, IsWellFormedSelfContainedAndEmbedsThePlan) {
    Project project = SampleProject();
    project.plan = test_support::SamplePlan("厂区平面图.png");
    const Result<PlanPicture> picture = ReadPlanPicture(test_support::PngHeader(924, 660));
    ASSERT_TRUE(picture.ok());
    const std::string html = ProjectSheetHtml(project, SampleResults(), picture.value());
    EXPECT_TRUE(WellFormed(html)) << "xmllint refuses the sheet";
    // QUORVEL_PROJECT_SHEET_OUT names a file to keep the sheet in, to look at it.
    if (const char* out = std::getenv("QUORVEL_PROJECT_SHEET_OUT")) {
        std::ofstream(out, std::ios::binary)
            << ProjectSheetHtml(SampleProject(), SampleResults(), std::nullopt);
    }

    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(html.find("<meta charset=\"utf-8\"/>"), std::string::npos);
    EXPECT_NE(html.find("size: A4"), std::string::npos);
    for (const char* outside :
         {"<script", "src=", "url(http", "@import", "<link", "href=\"http", "href=\"file"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
    EXPECT_EQ(Count(html, "href="), 1u);
    EXPECT_EQ(Count(html, "href=\"data:image/png;base64,"), 1u);
    EXPECT_EQ(html.find("图中未画出平面图"), std::string::npos);
    EXPECT_NE(ProjectSheetHtml(project, SampleResults(), std::nullopt).find("图中未画出平面图"),
              std::string::npos);
}

TEST(ProjectSheet, HoldsTheRunTheInputsAndEveryResult) {
    const std::string html = ProjectSheetHtml(SampleProject(), SampleResults(), std::nullopt);
    for (const char* expected :
         {"项目：示例化工项目", "2026-12-08 14:03:21", "程序：Quorvel 1.2.21", "SCREEN3 MODEL RUN",
          "<td>S1（罐区）</td><td>非甲烷总烃</td><td class=\"n\">0.12 kg/hr</td>",
          "<td class=\"n\">0.5 t/a</td>", "<td class=\"n\">0.001 g/s</td>",
          "Quorvel 建议距离（距面源中心） = 150 m", "Quorvel 建议距离（距面源中心） = 100 m",
          "无超标点", "<td class=\"n\">158.00</td>" /* Pmax 790 / 500 */,
          "<td>S1（罐区）</td><td>150 m</td><td>非甲烷总烃</td>",
          "<td>S3</td><td>50 m</td><td>硫化氢</td>", "<td>S2（污水站）</td><td>无超标点</td>",
          "<td>李庄</td><td class=\"c\">是</td><td class=\"c\">否</td><td class=\"n\">-10.0</td>",
          "<td>张庄</td><td class=\"c\">否</td><td class=\"c\">是</td>",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"site\""}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    }
    EXPECT_NE(html.find(FixedText(SampleResults().zone.area, 1) + " m²"), std::string::npos);
    EXPECT_NE(html.find("<th>防护区域超出厂界的最远距离</th><td>100.0 m</td>"), std::string::npos);
    EXPECT_EQ(html.find("class=\"notice\""), std::string::npos) << "every result is final";
}

TEST(ProjectSheet, TheVerdictKeepsItsLines) {
    const std::string html = ProjectSheetHtml(SampleProject(), UnfinishedResults(), std::nullopt);
    EXPECT_NE(
        html.find("最远超标距离 &gt; 5000 m<br/><br/>污染源强可能超标，建议削减源强后，再计算"),
        std::string::npos);
    EXPECT_NE(html.find("未能计算：S2 污水站 的 氨：未给出评价标准"), std::string::npos);
}

TEST(ProjectSheet, SaysFirstWhyAResultIsNotFinal) {
    const std::string html = ProjectSheetHtml(SampleProject(), UnfinishedResults(), std::nullopt);
    const std::string first = BeforeFirstSection(html);
    for (const char* expected :
         {"本计算书的结果不是最终结果", "污染源 S1（罐区） 的甲苯在 5000 m 处仍超过评价标准",
          "须削减其排放率后重新计算", "污染源 S2（污水站） 的计算不完整",
          "氨（S2 污水站 的 氨：未给出评价标准）", "防护区域仅由其余污染源的控制范围画出"}) {
        EXPECT_NE(first.find(expected), std::string::npos) << expected;
    }
    EXPECT_NE(Between(html, "<h2>六、结论</h2>", "</div>").find("本结论不是最终结果"),
              std::string::npos);

    // A zone marked not final without a source to blame still says so.
    ProjectResults odd = SampleResults();
    odd.zone.bounded = false;
    EXPECT_NE(BeforeFirstSection(ProjectSheetHtml(SampleProject(), odd, std::nullopt))
                  .find("不是最终结果"),
              std::string::npos);
}

TEST(ProjectSheet, TheConclusionNamesTheReceptorsInsideOrSaysThereAreNone) {
    const std::string some =
        Between(ProjectSheetHtml(SampleProject(), SampleResults(), std::nullopt),
                "<h2>六、结论</h2>", "</div>");
    EXPECT_NE(some.find("防护区域超出厂界最远 100.0 m"), std::string::npos) << some;
    EXPECT_NE(some.find("敏感目标李庄位于防护区域内"), std::string::npos) << some;
    EXPECT_NE(some.find("S1（罐区） 150 m（由非甲烷总烃决定）"), std::string::npos) << some;
    EXPECT_EQ(some.find("王家村"), std::string::npos);

    ProjectResults clear = SampleResults();
    clear.receptors[1].inside = false;
    const std::string none = Between(ProjectSheetHtml(SampleProject(), clear, std::nullopt),
                                     "<h2>六、结论</h2>", "</div>");
    EXPECT_NE(none.find("防护区域范围内无敏感目标"), std::string::npos) << none;

    ProjectResults inPlant = SampleResults();
    inPlant.zone = ZoneResult{};
    inPlant.zone.maxBeyondBoundary = 0;
    const std::string within = Between(ProjectSheetHtml(SampleProject(), inPlant, std::nullopt),
                                       "<h2>六、结论</h2>", "</div>");
    EXPECT_NE(within.find("各污染源的控制范围均在厂界以内，厂界外无防护区域。"), std::string::npos)
        << within;

    Project open = SampleProject();
    open.boundary.clear();
    ProjectResults unbounded = SampleResults();
    unbounded.zone.maxBeyondBoundary.reset();
    const std::string noBoundary = ProjectSheetHtml(open, unbounded, std::nullopt);
    EXPECT_NE(Between(noBoundary, "<h2>六、结论</h2>", "</div>").find("项目未给出厂界"),
              std::string::npos);
    EXPECT_NE(noBoundary.find("—（项目未给出厂界）"), std::string::npos);
}

TEST(ProjectSheet, TheLimitsTableAndTheCutsTheConclusionAsksFor) {
    const Project project = SampleProject();
    ProjectResults results = SampleResults();
    EXPECT_EQ(ProjectSheetHtml(project, results, std::nullopt).find("排放限值"), std::string::npos);
    EmissionLimits nmhc;
    nmhc.boundary = RateLimit{80.0, 0.054, 0.55, true};
    nmhc.receptors = RateLimit{350.0, 0.5, 0.0, true};
    EmissionLimits toluene;
    toluene.boundary = RateLimit{80.0, 0.015, 0.25, false};
    results.emissions[0].limits = nmhc;
    results.emissions[1].limits = toluene;
    results.emissions[2].limits = EmissionLimits{};
    const std::string html = ProjectSheetHtml(project, results, std::nullopt);
    EXPECT_TRUE(test_support::WellFormed(html));
    const std::string table = Between(html, "排放限值", "</table>");
    EXPECT_NE(table.find("0.054 kg/hr（削减 55.0%）"), std::string::npos) << table;
    EXPECT_NE(table.find("0.5 kg/hr（无需削减）"), std::string::npos) << table;
    EXPECT_NE(table.find("0.015 kg/hr（削减 25.0%）≈"), std::string::npos) << table;
    EXPECT_NE(table.find("<td>氨</td>"), std::string::npos) << table;
    const std::string conclusion = Between(html, "<h2>六、结论</h2>", "</div>");
    EXPECT_NE(conclusion.find("S1（罐区）的控制范围超出厂界，须将非甲烷总烃削减 55.0%、甲苯削减 "
                              "25.0%。"),
              std::string::npos)
        << conclusion;
    EXPECT_EQ(conclusion.find("敏感目标，须将"), std::string::npos);  // no cut needed for them
}

TEST(ProjectSheet, NamesAreEscaped) {
    Project project = SampleProject();
    project.name = "<A & \"B\">";
    project.sources[0].name = "<罐&区>";
    project.emissions[0].pollutant = "\"VOCs\" & <苯>";
    project.receptors[0].name = "<村&\"庄\">";
    ProjectResults results = SampleResults();
    results.emissions[0].pollutant = project.emissions[0].pollutant;
    results.sources[0].decidingPollutant = project.emissions[0].pollutant;
    results.receptors[0].name = project.receptors[0].name;
    results.receptors[0].inside = true;
    const std::string html = ProjectSheetHtml(project, results, std::nullopt);
    EXPECT_TRUE(WellFormed(html));
    for (const char* escaped :
         {"&lt;A &amp; &quot;B&quot;&gt;", "S1（&lt;罐&amp;区&gt;）",
          "&quot;VOCs&quot; &amp; &lt;苯&gt;", "&lt;村&amp;&quot;庄&quot;&gt;"}) {
        EXPECT_GE(Count(html, escaped), 2u) << escaped;
    }
    for (const char* raw : {"<A ", "<罐", "<苯", "<村"})
        EXPECT_EQ(html.find(raw), std::string::npos) << raw;
}

TEST(ProjectSheet, TheAppendixTracesEveryComputedEmission) {
    const std::string html = ProjectSheetHtml(SampleProject(), UnfinishedResults(), std::nullopt);
    // Three emissions kept their records; the failed row has none.
    EXPECT_EQ(Count(html, "<section class=\"appendix\">"), 3u);
    for (const char* title :
         {"附录 1　S1（罐区）：非甲烷总烃", "附录 2　S1（罐区）：甲苯", "附录 3　S3：硫化氢"}) {
        EXPECT_NE(html.find(title), std::string::npos) << title;
    }
    EXPECT_EQ(html.find("：氨</h3>"), std::string::npos);
    const std::string first = Between(html, "附录 1　", "</section>");
    EXPECT_NE(first.find("class=\"curve\""), std::string::npos);
    EXPECT_NE(first.find("viewBox=\"0 0 680.0 270.0\""), std::string::npos) << "compact";
    // 108 distances, each with its six cells, in three groups of columns;
    // 100 m reaches S and is bold.
    static const std::regex cell(R"(<td[^>]*>([^<]*)</td>)");
    const std::string table = Between(first, "<tbody>", "</tbody>");
    std::vector<std::string> cells;
    for (auto it = std::sregex_iterator(table.begin(), table.end(), cell);
         it != std::sregex_iterator(); ++it) {
        cells.push_back((*it)[1]);
    }
    ASSERT_EQ(cells.size() % 6, 0u);
    std::vector<int> distances;
    for (std::size_t i = 0; i < cells.size(); i += 6) {
        if (!cells[i].empty()) distances.push_back(std::stoi(cells[i]));
    }
    ASSERT_EQ(distances.size(), 108u);
    std::sort(distances.begin(), distances.end());
    EXPECT_EQ(distances.front(), 10);
    EXPECT_EQ(distances.back(), 5000);
    EXPECT_NE(table.find("<td class=\"reach\">100</td><td class=\"reach\">700</td>"
                         "<td class=\"reach\">140.00</td>"),
              std::string::npos);
}

TEST(ProjectSheet, FileNameHoldsTheTime) {
    EXPECT_EQ(ProjectSheetFileName(LocalTime{2026, 12, 8, 9, 5, 7}),
              u"项目计算书_20261208-090507.html");
}

}  // namespace
}  // namespace quorvel::project
