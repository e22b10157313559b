// The 现行导则 tab's texts from a combined field: distances rounded up to the
// whole metre, shares of S as percents, each receptor's pollutants with the
// sources' shares, and a project without a boundary.

#include "ui/core/field_results_view.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

project::Project Plant() {
    project::Project project;
    project.boundary = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    return project;
}

project::FieldResult TwoPollutants() {
    project::FieldResult field;
    field.distance = 86.4;
    field.decidingPollutant = "非甲烷总烃";
    field.area = 51230.04;
    field.exceedingSides = {1, 2};

    project::PollutantFieldResult nmhc;
    nmhc.pollutant = "非甲烷总烃";
    nmhc.standard = 2000.0;
    nmhc.maxOutside = project::FieldValue{3120.7, 1.5603, {310, 95}, "F", 1.0, 262.0, {}};
    nmhc.cut = 0.359;
    nmhc.distance = 86.4;
    field.pollutants.push_back(nmhc);

    project::PollutantFieldResult benzene;
    benzene.pollutant = "苯";
    benzene.source = "预测/苯.PLT";
    benzene.error = u"预测/苯.PLT 第3行：不是数字";
    field.pollutants.push_back(benzene);

    project::ReceptorFieldResult village;
    village.name = "王家村";
    village.inArea = true;
    project::ReceptorPollutant at;
    at.pollutant = "非甲烷总烃";
    at.value.c = 2210.3;
    at.value.ratio = 1.1052;
    at.value.shares = {{"S1", 2150.14}, {"S2", 60.16}};
    at.exceeds = true;
    village.pollutants.push_back(at);
    field.receptors.push_back(village);
    return field;
}

TEST(FieldResultsViewTest, PollutantsAndTheRuleAsTheTabShowsThem) {
    const FieldResultsView view = MakeFieldResultsView(Plant(), TwoPollutants());
    EXPECT_EQ(view.distance, u"87 m");  // rounded up to the whole metre, as the sheet does
    EXPECT_EQ(view.decidingPollutant, u"非甲烷总烃");
    EXPECT_EQ(view.area, u"51230.0 m²");
    EXPECT_EQ(view.exceedingSides, u"1、2");
    // The sheet's sentences: the distance and its pollutant among them.
    EXPECT_NE(view.conclusion.find(u"87"), std::u16string::npos);
    EXPECT_NE(view.conclusion.find(u"非甲烷总烃"), std::u16string::npos);

    ASSERT_EQ(view.pollutants.size(), 2u);
    const FieldPollutantRow& nmhc = view.pollutants[0];
    EXPECT_EQ(nmhc.standard, u"2000");
    EXPECT_EQ(nmhc.maxOutside, u"3121");
    EXPECT_EQ(nmhc.ratio, u"156.03");
    EXPECT_EQ(nmhc.cut, u"35.90");
    EXPECT_EQ(nmhc.distance, u"87 m");
    EXPECT_EQ(nmhc.source, u"估算模式");
    EXPECT_FALSE(nmhc.error);
    const FieldPollutantRow& benzene = view.pollutants[1];
    EXPECT_TRUE(benzene.error);
    EXPECT_EQ(benzene.note, u"预测/苯.PLT 第3行：不是数字");
    EXPECT_EQ(benzene.source, u"预测/苯.PLT");
    EXPECT_EQ(benzene.maxOutside, u"—");
    EXPECT_EQ(benzene.distance, u"—");

    const CellBlock block = FieldPollutantsBlock(view);
    ASSERT_EQ(block.size(), 3u);
    EXPECT_EQ(block[0][0], u"污染物");
    EXPECT_EQ(block[1].size(), kFieldPollutantHeaders.size());
}

TEST(FieldResultsViewTest, ReceptorsWithTheirRatiosAreaAndShares) {
    const FieldResultsView view = MakeFieldResultsView(Plant(), TwoPollutants());
    ASSERT_EQ(view.receptors.size(), 1u);
    const FieldReceptorRow& row = view.receptors[0];
    EXPECT_EQ(row.name, u"王家村");
    EXPECT_EQ(row.inArea, u"是");
    EXPECT_EQ(row.c, u"2210");
    EXPECT_EQ(row.ratio, u"110.52");
    EXPECT_EQ(row.exceeds, u"是");
    EXPECT_EQ(row.shares, u"S1 2150，S2 60.16");
    EXPECT_EQ(FieldReceptorsBlock(view)[1][6], row.shares);
}

TEST(FieldResultsViewTest, NoBoundaryAndNoExceedance) {
    project::FieldResult field = TwoPollutants();
    field.distance.reset();
    field.area.reset();
    field.decidingPollutant.clear();
    FieldResultsView view = MakeFieldResultsView(Plant(), field);
    EXPECT_EQ(view.distance, u"—（项目未给出厂界）");
    EXPECT_EQ(view.area, u"—");
    EXPECT_EQ(view.exceedingSides, u"—");
    EXPECT_EQ(view.decidingPollutant, u"—");

    field.distance = 0.0;
    field.area = 0.0;
    field.exceedingSides.clear();
    view = MakeFieldResultsView(Plant(), field);
    EXPECT_EQ(view.distance, u"0 m（厂界外无超标区域）");
    EXPECT_EQ(view.exceedingSides, u"无");
}

}  // namespace
}  // namespace quorvel
