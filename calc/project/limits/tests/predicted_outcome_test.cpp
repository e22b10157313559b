#include "calc/project/limits/predicted_outcome.h"

#include <gtest/gtest.h>

#include "calc/report_reader.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

// C(d) = 1e5 / d ug/m^3 at d = 100 ... 5000 m against S = 300: rows up to
// 300 m reach S, so the verdict is 400 m.
RunRecord FallingRecord() {
    test_support::CraftedReport report;
    for (int d = 100; d <= 5000; d += 100) report.rows.emplace_back(d, 1e5 / d);
    report.maxima = {{1000.0, 100.0}};
    const std::u16string text = FromUtf8(test_support::ReportText(report));
    RunRecord record;
    std::int16_t rowCount = 0;
    std::int16_t summaryCount = 0;
    std::u16string error;
    EXPECT_TRUE(
        ParseScreenReport(text, rowCount, summaryCount, record.rows, record.summaryRows, error));
    record.comparisonStandard = 300.0f;
    return record;
}

TEST(PredictAt, ScalingTheRateIsScalingTheStandardDown) {
    const RunRecord record = FallingRecord();
    EXPECT_EQ(PredictAt(record, 1.0).distance, 400.0);
    EXPECT_EQ(PredictAt(record, 0.59).distance, 200.0);
    EXPECT_EQ(PredictAt(record, 0.61).distance, 300.0);
    EXPECT_EQ(PredictAt(record, 0.31).distance, 200.0);  // only the 100 m row reaches S
    EXPECT_EQ(PredictAt(record, 0.29).outcome, EmissionOutcome::None);
    EXPECT_EQ(PredictAt(record, 20.0).outcome, EmissionOutcome::Beyond);
}

TEST(PredictedLimitFactor, LiesJustBelowTheFactorWhereTheDistanceGrowsPastTheTarget) {
    const RunRecord record = FallingRecord();
    const double within250 = PredictedLimitFactor(record, {TargetKind::Distance, 250, false});
    EXPECT_LT(within250, 0.6);
    EXPECT_GT(within250, 0.6 * 0.999);
    // A receptor at 300 m must not be reached: 300 m itself is too far.
    const double before300 = PredictedLimitFactor(record, {TargetKind::Receptors, 300, true});
    EXPECT_NEAR(before300, within250, 1e-12);
    // 400 m is allowed: the rate may grow until the 400 m row reaches S.
    const double within400 = PredictedLimitFactor(record, {TargetKind::Boundary, 400, false});
    EXPECT_LT(within400, 1.2);
    EXPECT_GT(within400, 1.2 * 0.999);
    // Closer than any verdict's distance: only no exceedance at all will do.
    const double within50 = PredictedLimitFactor(record, {TargetKind::Receptors, 50, true});
    EXPECT_LT(within50, 0.3);
    EXPECT_GT(within50, 0.3 * 0.999);
    EXPECT_EQ(PredictAt(record, within50).outcome, EmissionOutcome::None);
}

TEST(PredictedLimitFactor, IsZeroWithoutAReport) {
    EXPECT_EQ(PredictedLimitFactor(RunRecord{}, {TargetKind::Distance, 100, false}), 0.0);
}

}  // namespace
}  // namespace quorvel::project
