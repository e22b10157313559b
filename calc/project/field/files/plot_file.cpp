#include "calc/project/field/files/plot_file.h"

#include <optional>

#include "calc/project/field/files/field_text.h"

namespace quorvel::project {
namespace {

bool AllDigits(std::string_view token) {
    for (char c : token) {
        if (c < '0' || c > '9') return false;
    }
    return !token.empty();
}

}  // namespace

Result<std::vector<PlotRecord>> ReadPlotFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    std::vector<PlotRecord> records;
    bool dated = false;  // the header names a date column after the network's id
    for (const TextLine& line : Lines(bytes)) {
        const std::vector<std::string_view> tokens = Tokens(line.text);
        if (tokens.empty()) continue;
        if (tokens.front().starts_with("*")) {
            for (std::string_view t : tokens) dated = dated || t == "DATE";
            continue;
        }
        PlotRecord record;
        record.line = line.number;
        const char16_t* names[] = {u"X 坐标", u"Y 坐标", u"浓度"};
        double* fields[] = {&record.x, &record.y, &record.c};
        for (std::size_t i = 0; i < 3; ++i) {
            const std::optional<double> value =
                i < tokens.size() ? FiniteNumber(tokens[i]) : std::nullopt;
            if (!value) {
                return Fail(LineLabel(line.number) + u"：" + names[i] + u"应为数字" +
                            (i < tokens.size() ? u"，而不是 " + QuotedToken(tokens[i])
                                               : std::u16string(u"，这一行缺少")));
            }
            *fields[i] = *value;
        }
        if (record.c < 0.0) return Fail(LineLabel(line.number) + u"：浓度不能为负数");
        std::size_t at = 3;
        while (at < tokens.size() && FiniteNumber(tokens[at])) ++at;
        const std::size_t left = tokens.size() - at;
        if (left < 3) {
            return Fail(LineLabel(line.number) +
                        u"：缺少平均时段、源组或排序（数值列之后应依次为 AVE、GRP、RANK、NET ID）");
        }
        record.average = std::string(tokens[at]);
        record.group = std::string(tokens[at + 1]);
        record.rank = std::string(tokens[at + 2]);
        // A discrete receptor has no network id; a date may follow either.
        if (left >= 4 && !(left == 4 && dated && AllDigits(tokens[at + 3])))
            record.network = std::string(tokens[at + 3]);
        records.push_back(std::move(record));
    }
    if (records.empty()) return Fail(u"文件中没有受体浓度行（除 “*” 开头的文件头外是空的）");
    return records;
}

}  // namespace quorvel::project
