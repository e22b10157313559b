#include "calc/project/field/files/surfer_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "calc/project/field/files/field_text.h"
#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

struct Token {
    std::string_view text;
    std::size_t line = 0;
};

// Reads the tokens after the first line, one after another.
class TokenStream {
  public:
    explicit TokenStream(const std::vector<TextLine>& lines) {
        for (std::size_t i = 1; i < lines.size(); ++i) {
            for (std::string_view t : Tokens(lines[i].text))
                tokens_.push_back({t, lines[i].number});
        }
        last_ = lines.empty() ? 1 : lines.back().number;
    }
    std::size_t Left() const { return tokens_.size() - next_; }
    // The next number, or a message naming `what`.
    Result<double> Number(const char16_t* what) {
        if (next_ >= tokens_.size()) {
            return Fail(LineLabel(last_) + u"：内容意外结束，缺少" + what);
        }
        const Token& t = tokens_[next_++];
        const std::optional<double> value = FiniteNumber(t.text);
        if (!value)
            return Fail(LineLabel(t.line) + u"：" + what + u"应为数字，而不是 " +
                        QuotedToken(t.text));
        return *value;
    }
    std::size_t Line() const { return next_ < tokens_.size() ? tokens_[next_].line : last_; }

  private:
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
    std::size_t last_ = 1;
};

}  // namespace

Result<FileGrid> ReadSurferGrid(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const std::vector<TextLine> lines = Lines(bytes);
    const std::vector<std::string_view> first =
        lines.empty() ? std::vector<std::string_view>{} : Tokens(lines.front().text);
    if (first.empty() || first.front() != "DSAA") {
        if (bytes.starts_with("DSBB") || bytes.starts_with("DSRB")) {
            return Fail(LineLabel(1) +
                        u"：这是二进制的 Surfer 网格，请在 Surfer 中另存为 ASCII 网格（DSAA）");
        }
        return Fail(LineLabel(1) + u"：不是 Surfer ASCII 网格（第一行应为 DSAA）");
    }
    TokenStream in(lines);
    std::array<double, 8> head{};
    const char16_t* names[] = {u"列数",     u"行数",     u"x 最小值", u"x 最大值",
                               u"y 最小值", u"y 最大值", u"z 最小值", u"z 最大值"};
    for (std::size_t i = 0; i < head.size(); ++i) {
        const std::size_t line = in.Line();
        const Result<double> value = in.Number(names[i]);
        if (!value) return Fail(value.error());
        head[i] = value.value();
        if (i == 1 && (head[0] != std::floor(head[0]) || head[1] != std::floor(head[1]) ||
                       head[0] < 2 || head[1] < 2)) {
            return Fail(LineLabel(line) + u"：列数和行数应为不小于 2 的整数");
        }
        if (i == 1 && head[0] * head[1] > static_cast<double>(kMostGridPoints)) {
            return Fail(LineLabel(line) + u"：网格点过多（超过 4000000 个）");
        }
        if (i >= 2 && i <= 5 && std::fabs(head[i]) > kLargestFileCoordinate) {
            return Fail(LineLabel(line) + u"：坐标超出范围");
        }
        if ((i == 3 && !(head[3] > head[2])) || (i == 5 && !(head[5] > head[4]))) {
            return Fail(LineLabel(line) + u"：坐标范围的最大值应大于最小值");
        }
    }
    FileGrid grid;
    grid.columns = static_cast<int>(head[0]);
    grid.rows = static_cast<int>(head[1]);
    grid.minX = head[2];
    grid.minY = head[4];
    grid.stepX = (head[3] - head[2]) / (grid.columns - 1);
    grid.stepY = (head[5] - head[4]) / (grid.rows - 1);
    const std::size_t points =
        static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows);
    if (in.Left() < points) {
        return Fail(LineLabel(lines.back().number) + u"：内容意外结束，应有 " +
                    FromUtf8(std::to_string(points)) + u" 个网格值，只有 " +
                    FromUtf8(std::to_string(in.Left())) + u" 个");
    }
    grid.values.reserve(points);
    for (std::size_t i = 0; i < points; ++i) {
        const std::size_t line = in.Line();
        const Result<double> value = in.Number(u"网格值");
        if (!value) return Fail(value.error());
        if (value.value() >= kLargestConcentration) {
            grid.values.push_back(std::nan(""));
        } else if (value.value() < 0.0) {
            return Fail(LineLabel(line) + u"：浓度不能为负数");
        } else {
            grid.values.push_back(value.value());
        }
    }
    if (in.Left() > 0) {
        return Fail(LineLabel(in.Line()) + u"：网格值多于列数 × 行数（" +
                    FromUtf8(std::to_string(points)) + u" 个）");
    }
    return grid;
}

std::string SurferGridText(const FileGrid& grid) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (double v : grid.values) {
        if (std::isnan(v)) continue;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    if (low > high) low = high = 0.0;
    auto number = [](double v) { return ShortestNumber(v); };
    std::string text = "DSAA\r\n" + std::to_string(grid.columns) + " " + std::to_string(grid.rows) +
                       "\r\n" + number(grid.minX) + " " + number(grid.MaxX()) + "\r\n" +
                       number(grid.minY) + " " + number(grid.MaxY()) + "\r\n" + number(low) + " " +
                       number(high) + "\r\n";
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const double v = grid.Value(c, r);
            text += (c > 0 ? " " : "") + (std::isnan(v) ? std::string("1.70141e+38") : number(v));
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace quorvel::project
