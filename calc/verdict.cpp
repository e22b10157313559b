#include "calc/verdict.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <string_view>

#include "calc/lenient_number.h"
#include "calc/number_text.h"

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
const std::u16string kFormatError = u"报告文件格式错误: ";

// Field `index` (from 0) of `row` split at every `separator`, or nullopt when
// the row has fewer fields.
std::optional<std::u16string_view> Field(std::u16string_view row, char16_t separator,
                                         std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t next = row.find(separator, start);
        if (next == std::u16string_view::npos) return std::nullopt;
        start = next + 1;
    }
    const std::size_t end = row.find(separator, start);
    return row.substr(start, end == std::u16string_view::npos ? row.size() - start : end - start);
}

// A report row for an error text: a row can be as long as its report line,
// and a message box must stay readable, so a long row is cut.
std::u16string Shown(std::u16string_view row) {
    constexpr std::size_t kShownCharacters = 100;
    if (row.size() <= kShownCharacters) return std::u16string(row);
    return std::u16string(row.substr(0, kShownCharacters)) + u"…";
}

std::u16string DistanceVerdict(std::u16string distance, bool overWarningDistance) {
    std::u16string text = kDistancePrefix + distance + kDistanceUnit;
    if (overWarningDistance) text += kLineBreak + kLineBreak + kOverWarning;
    return text;
}

// Rounds to the nearest whole number, a tie going to the even one.
double RoundHalfToEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction > 0.5) return lower + 1;
    if (fraction < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1;
}

Result<std::u16string> FromSummary(const std::vector<std::u16string>& summaryRows, float standard) {
    float largest = 0.0f;
    std::size_t largestRow = 0;  // 0: none
    for (std::size_t l = 1; l <= summaryRows.size(); ++l) {
        const auto field = Field(summaryRows[l - 1], u',', 1);
        if (!field)
            return Fail(kFormatError + u"结果汇总行缺少最大浓度: " + Shown(summaryRows[l - 1]));
        const float value = ToSingle(ReadLenientNumber(*field));
        if (value > largest) {
            largestRow = l;
            largest = value;
        }
    }
    if (largestRow == 0 ||
        ToSingle(static_cast<double>(largest) / static_cast<double>(standard)) < 1.0f) {
        return kNoExceedance;
    }

    const std::u16string& row = summaryRows[largestRow - 1];
    const auto field = Field(row, u',', 2);
    if (!field) return Fail(kFormatError + u"结果汇总行缺少最大浓度的距离: " + Shown(row));
    const float distance = ToSingle(ReadLenientNumber(*field));
    const double rounded = RoundHalfToEven(static_cast<double>(distance));
    if (!(rounded >= 0.0 && rounded <= 2147483647.0)) {
        return Fail(kFormatError + u"最大浓度的距离超出范围: " + Shown(row));
    }
    const auto n = static_cast<std::int64_t>(rounded);
    const std::int64_t step = distance > 100.0f ? 50 : 10;
    const std::int64_t buffer = n / step * step + step;
    return DistanceVerdict(FormatNumber(static_cast<double>(buffer), 15), buffer > 2000);
}

}  // namespace

Result<std::u16string> FormVerdict(const std::vector<std::u16string>& rows,
                                   const std::vector<std::u16string>& summaryRows,
                                   float comparisonStandard) {
    try {
        if (!(comparisonStandard > 0.0f)) return Fail(u"评价标准必须大于0，请重新输入!");
        const double standard = comparisonStandard;

        // Backward search for the farthest row whose concentration reaches S.
        std::size_t k = rows.size();
        for (; k >= 1; --k) {
            const auto concentration = Field(rows[k - 1], u' ', 2);
            if (!concentration)
                return Fail(kFormatError + u"离散距离行缺少浓度: " + Shown(rows[k - 1]));
            if (ReadLenientNumber(*concentration) / standard >= 1.0) break;
        }

        if (k == 0) return FromSummary(summaryRows, comparisonStandard);
        if (k == rows.size()) return kBeyondRange + kLineBreak + kLineBreak + kBeyondRangeAdvice;

        const auto next = Field(rows[k], u' ', 1);
        if (!next) return Fail(kFormatError + u"离散距离行缺少距离: " + Shown(rows[k]));
        const float distance = ToSingle(ReadLenientNumber(*next));
        // A negative distance, or one beyond single precision, names no place
        // to keep a buffer at.
        if (!std::isfinite(distance) || distance < 0.0f) {
            return Fail(kFormatError + u"离散距离超出范围: " + Shown(rows[k]));
        }
        return DistanceVerdict(DistanceText(distance), distance > 2000.0f);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法形成计算结果!");
    }
}

std::u16string DistanceText(float x) { return FormatNumber(static_cast<double>(x), 7); }

}  // namespace quorvel
