#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "calc/project/sheet/field_conclusion.h"
#include "calc/project/sheet/project_sheet.h"
#include "calc/project/sheet/tests/sample_field.h"
#include "calc/project/sheet/tests/well_formed.h"

namespace quorvel::project {
namespace {

using test_support::SampleProject;
using test_support::SampleResultsWithField;

std::string All(const std::vector<std::string>& sentences) {
    std::string text;
    for (const std::string& s : sentences) text += s;
    return text;
}

bool Has(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string Section(const std::string& html) {
    const auto start = html.find("<h2>六、全厂叠加（现行导则做法）</h2>");
    if (start == std::string::npos) return {};
    return html.substr(start, html.find("<h2>七、结论</h2>") - start);
}

TEST(FieldSection, TheSheetGivesTheMethodTablesFiguresReceptorsAndConclusion) {
    const Project project = SampleProject();
    const ProjectResults results = SampleResultsWithField();
    const std::string html = ProjectSheetHtml(project, results, std::nullopt);
    EXPECT_TRUE(test_support::WellFormed(html));
    const std::string section = Section(html);
    ASSERT_FALSE(section.empty());
    EXPECT_LT(html.find("<h2>五、"), html.find("<h2>六、全厂叠加"));
    EXPECT_TRUE(Has(section, "最不利气象条件下的保守估算"));
    EXPECT_TRUE(Has(section, "只计入无组织面源"));
    // The pollutant table: S, the largest outside, place, ratio, cut, distance.
    EXPECT_TRUE(Has(section,
                    "<td class=\"n\">2000.0</td><td class=\"n\">3120.5</td>"
                    "<td class=\"n\">310, 95</td><td class=\"n\">156.0</td>"
                    "<td class=\"n\">35.9</td><td class=\"n\">87 m</td>"));
    // A figure per pollutant and one of the area, each clipping to its own extent.
    EXPECT_EQ(Count(section, "<svg "), 3u);
    EXPECT_TRUE(Has(section, "url(#field-1)") && Has(section, "url(#field-2)") &&
                Has(section, "url(#field-area)"));
    EXPECT_TRUE(Has(section, "图 2　非甲烷总烃的叠加浓度等值线"));
    EXPECT_TRUE(Has(section, "图 4　大气环境防护区域"));
    EXPECT_TRUE(Has(section, "D = 87 m"));
    // The receptors: 李庄 in the area, bold, with the sources' shares.
    EXPECT_TRUE(Has(section, "<tr class=\"inside\"><td>李庄</td><td class=\"c\">是</td>"));
    EXPECT_TRUE(Has(section, "S1 75%，S3 25%"));
    EXPECT_TRUE(Has(section, "120.0（超标）"));
    EXPECT_TRUE(Has(section, "敏感目标李庄位于防护区域内"));
    // The conclusion holds both practices, the sources table notes the angle.
    EXPECT_TRUE(Has(html, "<h2>七、结论</h2>"));
    EXPECT_TRUE(Has(html.substr(html.find("<h2>七、结论</h2>")),
                    "按现行导则（全厂叠加）：大气环境防护距离"));
    EXPECT_TRUE(Has(html, "全厂叠加按所列长边方向放置各面源"));

    ProjectResults without = results;
    without.field.reset();
    const std::string plain = ProjectSheetHtml(project, without, std::nullopt);
    EXPECT_TRUE(Section(plain).empty());
    EXPECT_TRUE(Has(plain, "<h2>六、结论</h2>"));
    EXPECT_FALSE(Has(plain, "长边方向放置"));
    EXPECT_TRUE(FieldConclusionSentences(project, without).empty());
}

TEST(FieldConclusion, AnAreaNamesItsDistanceSidesReceptorsAndTheCutThatRemovesIt) {
    const std::string text =
        All(FieldConclusionSentences(SampleProject(), SampleResultsWithField()));
    EXPECT_TRUE(Has(text, "大气环境防护距离 D = 87 m（由非甲烷总烃决定）"));
    EXPECT_TRUE(Has(text, "厂界第 1、2 边以外 87 m 以内的范围，面积 51230 m²"));
    EXPECT_TRUE(Has(text, "敏感目标李庄位于防护区域内"));
    EXPECT_TRUE(Has(text, "非甲烷总烃削减 35.9%"));
    EXPECT_FALSE(Has(text, "甲苯削减")) << "甲苯 does not exceed";
    EXPECT_FALSE(Has(text, "不是最终结果"));

    Project empty = SampleProject();
    ProjectResults results = SampleResultsWithField();
    for (ReceptorFieldResult& r : results.field->receptors) r.inArea = false;
    EXPECT_TRUE(Has(All(FieldConclusionSentences(empty, results)), "防护区域内无敏感目标"));
}

TEST(FieldConclusion, NoAreaNeededWhenEveryPollutantStaysBelowOutsideThePlant) {
    ProjectResults results = SampleResultsWithField();
    results.field->distance = 0.0;
    results.field->decidingPollutant.clear();
    results.field->area = 0.0;
    results.field->areaPolygons.clear();
    results.field->exceedingSides.clear();
    results.field->pollutants = {test_support::BelowPollutant()};
    const std::string text = All(FieldConclusionSentences(SampleProject(), results));
    EXPECT_TRUE(Has(text, "无需设置大气环境防护区域"));
    EXPECT_TRUE(Has(text, "最大占标率 75.0%，甲苯"));
    EXPECT_FALSE(Has(text, "D ="));

    Project open = SampleProject();
    open.boundary.clear();
    results.field->distance.reset();
    EXPECT_TRUE(Has(All(FieldConclusionSentences(open, results)), "项目未给出厂界"));
}

TEST(FieldConclusion, AFailedOrUnfinishedPollutantIsSaidFirstAndInTheNotice) {
    const Project project = SampleProject();
    ProjectResults results = SampleResultsWithField();
    results.field->pollutants[0].final = false;
    results.field->pollutants[0].note = u"超标区域达到计算范围边缘，结果不完整";
    PollutantFieldResult& toluene = results.field->pollutants[1];
    toluene = PollutantFieldResult{};
    toluene.pollutant = "甲苯";
    toluene.final = false;
    toluene.error = u"污染物“甲苯”的各排放给出的评价标准不同：S1 罐区 甲苯、S2 污水站 甲苯";
    const std::vector<std::string> sentences = FieldConclusionSentences(project, results);
    ASSERT_GE(sentences.size(), 3u);
    EXPECT_EQ(sentences[0],
              "按现行导则的结果不是最终结果：非甲烷总烃（超标区域达到计算范围边缘，结果不完整）"
              "的叠加浓度场不完整。");
    EXPECT_EQ(sentences[1],
              "污染物甲苯未能计算叠加浓度场：污染物“甲苯”的各排放给出的评价标准不同：S1 罐区 "
              "甲苯、S2 污水站 甲苯。");
    EXPECT_TRUE(Has(All(sentences), "大气环境防护距离 D = 87 m"));

    const std::string html = ProjectSheetHtml(project, results, std::nullopt);
    EXPECT_TRUE(test_support::WellFormed(html));
    const std::string notice = html.substr(0, html.find("<h2>"));
    EXPECT_TRUE(Has(notice, "按现行导则的结果不是最终结果"));
    const std::string section = Section(html);
    EXPECT_TRUE(Has(section, "<td colspan=\"6\">未能计算：污染物“甲苯”"));
    EXPECT_TRUE(Has(section, "结果非最终：超标区域达到计算范围边缘"));
    EXPECT_EQ(Count(section, "<svg "), 2u) << "no figure for the failed pollutant";

    results.field->pollutants = {toluene};
    EXPECT_TRUE(Has(All(FieldConclusionSentences(project, results)), "没有污染物算出叠加浓度场"));
}

TEST(FieldSection, AFieldFromAFileSaysItsFilePeriodAndGrids) {
    ProjectResults results = SampleResultsWithField();
    results.field->method = "mixed";
    PollutantFieldResult& nmhc = results.field->pollutants[0];
    nmhc.source = "预测/NMHC_24HR.PLT";
    nmhc.origin = FieldOrigin{"预测/NMHC_24HR.PLT",
                              "aermod-plot",
                              "24-HR",
                              {{-2500, -2000, 50, 50, 101, 81}, {-500, -400, 10, 10, 61, 41}}};
    const std::string section = Section(ProjectSheetHtml(SampleProject(), results, std::nullopt));
    EXPECT_TRUE(Has(section, "非甲烷总烃的浓度场取自文件 预测/NMHC_24HR.PLT"));
    EXPECT_TRUE(Has(section, "24 小时平均浓度，与日均评价标准比较"));
    EXPECT_TRUE(Has(section, "第 1 个 101 × 81 点，间距 50 × 50 m，西南角 (-2500, -2000)"));
    EXPECT_TRUE(Has(section, "第 2 个 61 × 41 点"));
    EXPECT_TRUE(Has(section, "<td>文件 预测/NMHC_24HR.PLT</td>"));
    EXPECT_TRUE(Has(section, "<td>估算</td>")) << "甲苯 stays a screening field";
    EXPECT_TRUE(Has(section, "保守估算")) << "mixed: the screening method is said too";

    results.field->method = "file";
    results.field->pollutants.resize(1);
    EXPECT_FALSE(
        Has(Section(ProjectSheetHtml(SampleProject(), results, std::nullopt)), "保守估算"));
}

}  // namespace
}  // namespace quorvel::project
