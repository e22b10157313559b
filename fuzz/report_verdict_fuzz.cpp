#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/code_page.h"
#include "calc/report_reader.h"
#include "calc/run_record.h"
#include "calc/sheet/calculation_sheet.h"
#include "calc/verdict.h"
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {
namespace {

// Error texts are shown in a message box; a report line must not fill it.
constexpr std::size_t kLongestErrorText = 300;

// A verdict is a distance of plain digits (and a decimal part) in metres,
// with or without the warning, or one of the two fixed texts.
void RequireVerdictShape(const std::u16string& verdict) {
    const std::u16string prefix = u"Quorvel 建议距离（距面源中心） = ";
    if (verdict == u"无超标点" ||
        verdict == u"最远超标距离 > 5000 m\r\n\r\n污染源强可能超标，建议削减源强后，再计算") {
        return;
    }
    Require(verdict.starts_with(prefix), "a verdict names a distance");
    const std::size_t unit = verdict.find(u" m", prefix.size());
    Require(unit != std::u16string::npos, "the distance has its unit");
    const std::u16string_view number =
        std::u16string_view(verdict).substr(prefix.size(), unit - prefix.size());
    Require(!number.empty(), "the distance has digits");
    for (const char16_t c : number) {
        Require((c >= u'0' && c <= u'9') || c == u'.' || c == u'E' || c == u'+' || c == u'-',
                "the distance is a finite decimal number");
    }
    Require(number.front() != u'-', "the distance is not negative");
}

// The calculation sheet of a run whose report held these rows: one table row
// per report row, and no markup from the report's text.
void RequireSheet(const std::vector<std::u16string>& rows,
                  const std::vector<std::u16string>& summaryRows, float standard,
                  const Verdict& verdict) {
    RunRecord record;
    record.rows = rows;
    record.summaryRows = summaryRows;
    record.comparisonStandard = standard;
    record.verdict = verdict;
    const std::string html = CalculationSheetHtml(record);
    const std::size_t body = html.find("<tbody>");
    Require(body != std::string::npos, "the sheet has its table");
    std::size_t tableRows = 0;
    for (std::size_t at = html.find("<tr", body); at != std::string::npos;
         at = html.find("<tr", at + 1)) {
        ++tableRows;
    }
    Require(tableRows == rows.size(), "one table row per report row");
    Require(html.find("<script") == std::string::npos, "no script from the report");
    Require(html.ends_with("</html>\n"), "the sheet is whole");
}

}  // namespace

int ReportVerdict(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<std::u16string> text = DecodeCodePage936(bytes);
    Require(text.ok(), "a report decodes");

    std::int16_t rowCount = -1;
    std::int16_t summaryCount = -1;
    std::vector<std::u16string> rows{u"old row"};
    std::vector<std::u16string> summaryRows{u"old,summary,row,"};
    std::u16string errorText = u"untouched";
    const bool parsed =
        ParseScreenReport(text.value(), rowCount, summaryCount, rows, summaryRows, errorText);
    Require(rowCount >= 0 && summaryCount >= 0, "counts never negative");
    Require(static_cast<std::size_t>(rowCount) == rows.size(), "row count matches the list");
    if (!parsed) {
        Require(!errorText.empty() && errorText != u"untouched", "a failure says why");
        Require(errorText.size() <= kLongestErrorText, "a failure's text fits a message box");
        return 0;
    }
    Require(errorText == u"untouched", "success leaves the error text alone");
    Require(static_cast<std::size_t>(summaryCount) == summaryRows.size(),
            "summary count matches the list");
    for (const auto& row : rows) {
        Require(row.find(u"  ") == std::u16string::npos, "rows hold single blanks");
        Require(!row.empty() && row.front() != u' ' && row.back() != u' ', "rows are trimmed");
    }

    // The standards a window can produce, and the edges of single precision.
    for (const float standard : {500.0f, 1e-30f, 3.4e38f, 0.0f, -1.0f}) {
        const Result<std::u16string> verdict = FormVerdict(rows, summaryRows, standard);
        Require(verdict.ok() ? !verdict.value().empty() : !verdict.error().empty(),
                "a verdict or an error text");
        Require(verdict.ok() || verdict.error().size() <= kLongestErrorText,
                "a refused verdict's text fits a message box");
        if (!(standard > 0.0f)) Require(!verdict.ok(), "a standard not above 0 is refused");
        if (verdict.ok()) RequireVerdictShape(verdict.value());
    }
    if (const Result<Verdict> verdict = DecideVerdict(rows, summaryRows, 500.0f); verdict.ok()) {
        RequireSheet(rows, summaryRows, 500.0f, verdict.value());
    }
    return 0;
}

}  // namespace quorvel::fuzz
