#pragma once
// Run records made from crafted model reports, as a successful run keeps them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "calc/report_reader.h"
#include "calc/report_title.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/run_record.h"
#include "calc/unicode_text.h"
#include "calc/verdict.h"

namespace quorvel::test_support {

// The 108 discrete distances of the answer file, in metres.
inline std::vector<double> Distances() {
    std::vector<double> distances;
    for (int d = 10; d <= 100; d += 10) distances.push_back(d);
    for (int d = 150; d <= 5000; d += 50) distances.push_back(d);
    return distances;
}

// A report whose discrete rows give each distance the concentration `at`
// returns, and whose summary holds `maxima` as (concentration, distance).
inline CraftedReport ReportOf(const std::function<double(double)>& at,
                              std::vector<std::pair<double, double>> maxima) {
    CraftedReport report;
    for (const double d : Distances()) report.rows.emplace_back(d, at(d));
    report.maxima = std::move(maxima);
    report.weather.push_back(RowWeather{});
    return report;
}

// The record a run keeps for `report`, with standard S (ug/m^3) and the time
// 2026-12-08 09:05:07.
inline RunRecord RecordOf(const CraftedReport& report, float standard = 500.0f) {
    const std::u16string text = FromUtf8(ReportText(report));
    RunRecord record;
    std::int16_t rowCount = 0;
    std::int16_t summaryCount = 0;
    std::u16string error;
    EXPECT_TRUE(
        ParseScreenReport(text, rowCount, summaryCount, record.rows, record.summaryRows, error))
        << ToUtf8(error);
    record.modelTitle = ModelTitleLine(text);
    record.comparisonStandard = standard;
    const Result<Verdict> verdict = DecideVerdict(record.rows, record.summaryRows, standard);
    EXPECT_TRUE(verdict.ok()) << ToUtf8(verdict.error());
    if (verdict.ok()) record.verdict = verdict.value();
    record.finished = LocalTime{2026, 12, 8, 9, 5, 7};
    return record;
}

}  // namespace quorvel::test_support
