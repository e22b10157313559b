#include "calc/verdict.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "calc/lenient_number.h"
#include "calc/number_text.h"
#include "calc/report_rows.h"

namespace quorvel {
namespace {

const std::u16string kDistancePrefix = u"Quorvel 建议距离（距面源中心） = ";
const std::u16string kDistanceUnit = u" m";
const std::u16string kOverWarning =
    u"无组织排放源强可能超过监控浓度限值，建议核实或采取措施削减源强。";
const std::u16string kBeyondRange = u"最远超标距离 > 5000 m";
const std::u16string kBeyondRangeAdvice = u"污染源强可能超标，建议削减源强后，再计算";
const std::u16string kNoExceedance = u"无超标点";
const std::u16string kLineBreak = u"\r\n";
const std::u16string kFormatError = kReportFormatError;

Verdict DistanceVerdict(std::u16string distance, bool overWarningDistance, float bufferDistance) {
    std::u16string text = kDistancePrefix + distance + kDistanceUnit;
    if (overWarningDistance) text += kLineBreak + kLineBreak + kOverWarning;
    return Verdict{std::move(text), bufferDistance};
}

// Rounds to the nearest whole number, a tie going to the even one.
double RoundHalfToEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction > 0.5) return lower + 1;
    if (fraction < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1;
}

Result<Verdict> FromSummary(const std::vector<std::u16string>& summaryRows, float standard) {
    const Result<SummaryMaximum> found = LargestSummaryMaximum(summaryRows);
    if (!found) return Fail(found.error());
    const SummaryMaximum largest = found.value();
    if (largest.row == 0 || ToSingle(static_cast<double>(largest.concentration) /
                                     static_cast<double>(standard)) < 1.0f) {
        return Verdict{kNoExceedance, std::nullopt};
    }

    const std::u16string& row = summaryRows[largest.row - 1];
    const auto field = RowField(row, u',', kSummaryDistanceField);
    if (!field) return Fail(kFormatError + u"结果汇总行缺少最大浓度的距离: " + ShownRow(row));
    const float distance = ToSingle(ReadLenientNumber(*field));
    const double rounded = RoundHalfToEven(static_cast<double>(distance));
    if (!(rounded >= 0.0 && rounded <= 2147483647.0)) {
        return Fail(kFormatError + u"最大浓度的距离超出范围: " + ShownRow(row));
    }
    const auto n = static_cast<std::int64_t>(rounded);
    const std::int64_t step = distance > 100.0f ? 50 : 10;
    const std::int64_t buffer = n / step * step + step;
    return DistanceVerdict(FormatNumber(static_cast<double>(buffer), 15), buffer > 2000,
                           static_cast<float>(buffer));
}

}  // namespace

Result<Verdict> DecideVerdict(const std::vector<std::u16string>& rows,
                              const std::vector<std::u16string>& summaryRows,
                              float comparisonStandard) {
    try {
        if (!(comparisonStandard > 0.0f)) return Fail(u"评价标准必须大于0，请重新输入!");
        const double standard = comparisonStandard;

        // Backward search for the farthest row whose concentration reaches S.
        const Result<std::size_t> farthest = FarthestRowReaching(rows, standard, 1.0);
        if (!farthest) return Fail(farthest.error());
        const std::size_t k = farthest.value();

        if (k == 0) return FromSummary(summaryRows, comparisonStandard);
        if (k == rows.size()) {
            return Verdict{kBeyondRange + kLineBreak + kLineBreak + kBeyondRangeAdvice,
                           std::nullopt};
        }

        const auto next = RowField(rows[k], u' ', kDistanceField);
        if (!next) return Fail(kFormatError + u"离散距离行缺少距离: " + ShownRow(rows[k]));
        const float distance = ToSingle(ReadLenientNumber(*next));
        // A negative distance, or one beyond single precision, names no place
        // to keep a buffer at.
        if (!std::isfinite(distance) || distance < 0.0f) {
            return Fail(kFormatError + u"离散距离超出范围: " + ShownRow(rows[k]));
        }
        return DistanceVerdict(DistanceText(distance), distance > 2000.0f, distance);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法形成计算结果!");
    }
}

Result<std::u16string> FormVerdict(const std::vector<std::u16string>& rows,
                                   const std::vector<std::u16string>& summaryRows,
                                   float comparisonStandard) {
    Result<Verdict> verdict = DecideVerdict(rows, summaryRows, comparisonStandard);
    if (!verdict) return Fail(verdict.error());
    return std::move(verdict).value().text;
}

bool IsBeyondRange(const Verdict& verdict) {
    return !verdict.bufferDistance && verdict.text.starts_with(kBeyondRange);
}

bool IsNoExceedance(const Verdict& verdict) {
    return !verdict.bufferDistance && verdict.text == kNoExceedance;
}

std::u16string DistanceText(float x) { return FormatNumber(static_cast<double>(x), 7); }

}  // namespace quorvel
