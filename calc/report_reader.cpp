#include "calc/report_reader.h"

#include <limits>
#include <new>
#include <optional>
#include <string_view>

#include "calc/lenient_number.h"
#include "calc/number_text.h"
#include "calc/text_helpers.h"

namespace quorvel {
namespace {

constexpr std::u16string_view kDiscreteHeading = u"*** SCREEN DISCRETE DISTANCES ***";
constexpr std::u16string_view kTerrainHeading = u"*** TERRAIN HEIGHT OF";
constexpr std::u16string_view kSummaryHeading = u"*** SUMMARY OF SCREEN MODEL RESULTS ***";
constexpr std::u16string_view kLineEnd = u"\r\n";

constexpr std::size_t kRowWidth = 64;      // characters of a table line that make a row
constexpr std::size_t kTerrainWidth = 30;  // characters read for the terrain height
constexpr int kTableHeadingLines = 5;      // line ends from the terrain heading to the first row
constexpr int kSummaryHeadingLines = 6;    // line ends from the summary heading to its first line
constexpr std::size_t kShortestSummaryLine = 11;
constexpr std::size_t kFieldThreeStart = 43;  // 0-based column of the last summary field

const std::u16string kFormatError = u"报告文件格式错误: ";

// A failure that ends the reading, with its text for the user.
struct ReadFailure {
    std::u16string text;
};

class ReportScanner {
  public:
    explicit ReportScanner(const std::u16string& text) : text_(text) {}

    // The position just after the first CR LF at or after `position`.
    std::size_t NextLineStart(std::size_t position, const char16_t* missing) const {
        const std::size_t end = text_.find(kLineEnd, position);
        if (end == std::u16string::npos) throw ReadFailure{kFormatError + missing};
        return end + kLineEnd.size();
    }

    std::size_t Skip(std::size_t position, int lineEnds, const char16_t* missing) const {
        for (int i = 0; i < lineEnds; ++i) position = NextLineStart(position, missing);
        return position;
    }

    bool HoldsAt(std::size_t position, std::u16string_view part) const {
        return position <= text_.size() && text_.compare(position, part.size(), part) == 0;
    }

    // A table row is a line whose first 64 characters are followed by CR LF.
    bool IsTableRow(std::size_t position) const { return HoldsAt(position + kRowWidth, kLineEnd); }

    std::u16string_view Slice(std::size_t position, std::size_t count) const {
        if (position >= text_.size()) return {};
        return std::u16string_view(text_).substr(position, count);
    }

    std::size_t Find(std::u16string_view part, std::size_t position) const {
        return text_.find(part, position);
    }

  private:
    const std::u16string& text_;
};

std::u16string_view TrimBlanks(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

void CountOneMore(std::int16_t& count, const char16_t* what) {
    if (count == std::numeric_limits<std::int16_t>::max()) {
        throw ReadFailure{u"报告文件读取错误: " + std::u16string(what) + u"超过32767，计数溢出"};
    }
    ++count;
}

// Reads the tables of discrete distances; returns the position of the line
// that ended the last table (or the start when there is none).
std::size_t ReadDiscreteTables(const ReportScanner& scanner, std::int16_t& rowCount,
                               std::vector<std::u16string>& rows) {
    std::size_t position = 0;
    for (;;) {
        const std::size_t heading = scanner.Find(kDiscreteHeading, position);
        if (heading == std::u16string::npos) return position;
        const std::size_t terrain =
            scanner.Find(kTerrainHeading, heading + kDiscreteHeading.size());
        if (terrain == std::u16string::npos) {
            throw ReadFailure{kFormatError + u"离散距离表缺少地形高度标题"};
        }
        const std::size_t afterTerrain = terrain + kTerrainHeading.size();
        // The character right after the heading text is not part of the height.
        const float height =
            ToSingle(ReadLenientNumber(scanner.Slice(afterTerrain + 1, kTerrainWidth)));
        const std::u16string heightText = FormatNumber(static_cast<double>(height), 7);

        position = scanner.Skip(afterTerrain, kTableHeadingLines, u"离散距离表的表头不完整");
        while (scanner.IsTableRow(position)) {
            CountOneMore(rowCount, u"离散距离行数");
            std::u16string row = heightText;
            row += u' ';
            row += scanner.Slice(position, kRowWidth);
            row = std::u16string(TrimBlanks(row));
            DeleteDoubleSpace(row);
            rows.push_back(std::move(row));
            position = scanner.NextLineStart(position, u"离散距离表不完整");
        }
    }
}

void CollectSummaryLines(const ReportScanner& scanner, std::size_t position,
                         std::int16_t& summaryCount, std::vector<std::u16string>& summaryLines) {
    const std::size_t heading = scanner.Find(kSummaryHeading, position);
    if (heading == std::u16string::npos) throw ReadFailure{kFormatError + u"缺少结果汇总标题"};
    position = scanner.Skip(heading + kSummaryHeading.size(), kSummaryHeadingLines,
                            u"结果汇总的表头不完整");
    for (;;) {
        if (scanner.HoldsAt(position + 1, u"***")) return;
        const std::size_t lineEnd = scanner.NextLineStart(position, u"结果汇总缺少结束行(***)") - 2;
        const std::size_t length = lineEnd - position;
        if (length >= kShortestSummaryLine && !scanner.HoldsAt(position + 1, u"   ")) {
            CountOneMore(summaryCount, u"结果汇总行数");
            summaryLines.emplace_back(scanner.Slice(position, length));
        }
        position = lineEnd + 2;
    }
}

// Characters 1-18, 20-30, 33-40 and 44 to the end, each trimmed, joined by ",".
std::u16string SummaryRow(std::u16string_view line) {
    if (line.size() < kFieldThreeStart) {
        throw ReadFailure{kFormatError + u"结果汇总行过短(" +
                          FormatNumber(static_cast<double>(line.size()), 7) +
                          u"个字符)，无法读取第4栏: " + std::u16string(line)};
    }
    std::u16string row(TrimBlanks(line.substr(0, 18)));
    row += u',';
    row += TrimBlanks(line.substr(19, 11));
    row += u',';
    row += TrimBlanks(line.substr(32, 8));
    row += u',';
    row += TrimBlanks(line.substr(kFieldThreeStart));
    return row;
}

}  // namespace

bool ParseScreenReport(const std::u16string& reportText, std::int16_t& rowCount,
                       std::int16_t& summaryCount, std::vector<std::u16string>& rows,
                       std::vector<std::u16string>& summaryRows, std::u16string& errorText) {
    rowCount = 0;
    summaryCount = 0;
    rows.clear();
    summaryRows.clear();
    try {
        const ReportScanner scanner(reportText);
        const std::size_t afterTables = ReadDiscreteTables(scanner, rowCount, rows);
        CollectSummaryLines(scanner, afterTables, summaryCount, summaryRows);
        for (auto& line : summaryRows) line = SummaryRow(line);
        return true;
    } catch (const ReadFailure& failure) {
        try {
            errorText = failure.text;
        } catch (const std::bad_alloc&) {
            errorText.clear();
        }
        return false;
    } catch (const std::bad_alloc&) {
        errorText.clear();
        try {
            errorText = u"内存不足，无法读取报告文件!";
        } catch (const std::bad_alloc&) {
        }
        return false;
    } catch (const std::exception&) {
        try {
            errorText = u"报告文件读取错误!";
        } catch (const std::bad_alloc&) {
        }
        return false;
    }
}

}  // namespace quorvel
