#include "calc/report_rows.h"

#include "calc/lenient_number.h"

namespace quorvel {

std::optional<std::u16string_view> RowField(std::u16string_view row, char16_t separator,
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

std::u16string ShownRow(std::u16string_view row) {
    constexpr std::size_t kShownCharacters = 100;
    if (row.size() <= kShownCharacters) return std::u16string(row);
    return std::u16string(row.substr(0, kShownCharacters)) + u"…";
}

Result<std::size_t> FarthestRowReaching(const std::vector<std::u16string>& rows, double standard,
                                        double share) {
    for (std::size_t k = rows.size(); k >= 1; --k) {
        const auto concentration = RowField(rows[k - 1], u' ', kConcentrationField);
        if (!concentration) {
            return Fail(kReportFormatError + std::u16string(u"离散距离行缺少浓度: ") +
                        ShownRow(rows[k - 1]));
        }
        if (ReadLenientNumber(*concentration) / standard >= share) return k;
    }
    return std::size_t{0};
}

Result<SummaryMaximum> LargestSummaryMaximum(const std::vector<std::u16string>& summaryRows) {
    SummaryMaximum largest;
    for (std::size_t l = 1; l <= summaryRows.size(); ++l) {
        const auto field = RowField(summaryRows[l - 1], u',', kSummaryMaximumField);
        if (!field) {
            return Fail(kReportFormatError + std::u16string(u"结果汇总行缺少最大浓度: ") +
                        ShownRow(summaryRows[l - 1]));
        }
        const float value = ToSingle(ReadLenientNumber(*field));
        if (value > largest.concentration) largest = SummaryMaximum{l, value};
    }
    return largest;
}

}  // namespace quorvel
