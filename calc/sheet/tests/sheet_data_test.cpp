#include "calc/sheet/sheet_data.h"

#include <gtest/gtest.h>

#include "calc/sheet/tests/sheet_records.h"

namespace quorvel {
namespace {

using test_support::Distances;
using test_support::RecordOf;
using test_support::ReportOf;
using Kind = FarthestDistance::Kind;

TEST(SheetData, TheTablesNumbersAreTheReportsNumbers) {
    test_support::CraftedReport report = ReportOf([](double d) { return 4000.0 - d * 0.75; }, {});
    report.weather.clear();
    for (int i = 0; i < 108; ++i) {
        report.weather.push_back({i % 6 + 1, 0.5 * (i % 20 + 1), static_cast<double>(i % 91)});
    }
    const SheetFigures figures = ReadSheetFigures(RecordOf(report));

    ASSERT_EQ(figures.rows.size(), 108u);
    const std::vector<double> distances = Distances();
    for (std::size_t i = 0; i < figures.rows.size(); ++i) {
        const SheetRow& row = figures.rows[i];
        ASSERT_TRUE(row.distance && row.concentration && row.windSpeed && row.direction) << i;
        EXPECT_EQ(*row.distance, distances[i]);
        EXPECT_EQ(*row.concentration, 4000.0 - distances[i] * 0.75);
        EXPECT_EQ(row.stability, std::u16string(1, static_cast<char16_t>(u'A' + i % 6)));
        EXPECT_EQ(*row.windSpeed, 0.5 * static_cast<double>(i % 20 + 1));
        EXPECT_EQ(*row.direction, static_cast<double>(i % 91));
        EXPECT_EQ(row.reachesStandard, *row.concentration >= 500.0) << i;
    }
}

TEST(SheetData, FieldsARowLacksStayEmpty) {
    RunRecord record;
    record.comparisonStandard = 500.0f;
    record.rows = {u"0 10. 700. 7", u"0 20.", u"0"};
    const SheetFigures figures = ReadSheetFigures(record);
    ASSERT_EQ(figures.rows.size(), 3u);
    EXPECT_EQ(figures.rows[0].stability, u"7");
    EXPECT_TRUE(figures.rows[0].reachesStandard);
    EXPECT_FALSE(figures.rows[0].windSpeed);
    EXPECT_FALSE(figures.rows[1].concentration);
    EXPECT_FALSE(figures.rows[2].distance);
    EXPECT_FALSE(figures.cmax);
    EXPECT_FALSE(figures.pmaxPercent);
}

TEST(SheetData, PmaxAndFarthestDistancesWhenTheStandardIsReachedNowhere) {
    const SheetFigures f =
        ReadSheetFigures(RecordOf(ReportOf([](double) { return 40.0; }, {{45.0, 300.0}})));
    EXPECT_EQ(f.reachingStandard.kind, Kind::None);
    EXPECT_EQ(f.reachingTenth.kind, Kind::None);
    ASSERT_TRUE(f.pmaxPercent);
    EXPECT_DOUBLE_EQ(*f.pmaxPercent, 9.0);
}

TEST(SheetData, PmaxAndFarthestDistancesWithinTheDistances) {
    // S = 500: reached up to 60 m; 10 % of S (50) reached exactly at 2000 m.
    const SheetFigures f = ReadSheetFigures(RecordOf(ReportOf(
        [](double d) { return d <= 60     ? 1000.0
                              : d < 2000  ? 300.0
                              : d == 2000 ? 50.0
                                          : 49.99; },
        {{1250.0, 45.0}})));
    EXPECT_EQ(f.reachingStandard.kind, Kind::Within);
    EXPECT_EQ(f.reachingStandard.distance, 60.0);
    EXPECT_EQ(f.reachingTenth.kind, Kind::Within);
    EXPECT_EQ(f.reachingTenth.distance, 2000.0);
    EXPECT_DOUBLE_EQ(*f.pmaxPercent, 250.0);
    EXPECT_EQ(f.cmaxDistance, 45.0);
}

TEST(SheetData, PmaxAndFarthestDistancesReachedAt5000Metres) {
    const SheetFigures f =
        ReadSheetFigures(RecordOf(ReportOf([](double) { return 600.0; }, {{610.0, 250.0}})));
    EXPECT_EQ(f.reachingStandard.kind, Kind::BeyondLast);
    EXPECT_EQ(f.reachingStandard.distance, 5000.0);
    EXPECT_EQ(f.reachingTenth.kind, Kind::BeyondLast);
    EXPECT_EQ(f.reachingTenth.distance, 5000.0);
    EXPECT_DOUBLE_EQ(*f.pmaxPercent, 122.0);
}

TEST(SheetData, OfEqualSummaryMaximaTheFirstIsCmax) {
    const SheetFigures f = ReadSheetFigures(RecordOf(
        ReportOf([](double) { return 10.0; }, {{700.0, 300.0}, {800.0, 150.0}, {800.0, 250.0}})));
    EXPECT_EQ(f.cmax, 800.0);
    EXPECT_EQ(f.cmaxDistance, 150.0);
}

TEST(SheetData, AVerdictFromTheSummaryMaximumReachesNoDiscreteDistance) {
    const RunRecord record = RecordOf(ReportOf([](double) { return 300.0; }, {{520.0, 37.0}}));
    EXPECT_EQ(record.verdict.bufferDistance, 40.0f);
    const SheetFigures f = ReadSheetFigures(record);
    EXPECT_EQ(f.reachingStandard.kind, Kind::None);
    EXPECT_EQ(f.reachingTenth.kind, Kind::BeyondLast);
    EXPECT_DOUBLE_EQ(*f.pmaxPercent, 104.0);
}

}  // namespace
}  // namespace quorvel
