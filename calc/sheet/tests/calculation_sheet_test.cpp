#include "calc/sheet/calculation_sheet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "calc/sheet/tests/sheet_records.h"

namespace quorvel {
namespace {

using test_support::Distances;
using test_support::RecordOf;
using test_support::ReportOf;

// The default run: S = 500 reached up to 1100 m (buffer distance 1150 m),
// 50 (10 % of S) at 3000 m, Cmax 2983 at 200 m as in the row for 200 m.
RunRecord DefaultRecord() {
    return RecordOf(ReportOf(
        [](double d) {
            if (d == 200) return 2983.0;
            if (d <= 1100) return d == 1100 ? 500.0 : 800.0;
            if (d <= 3000) return d == 3000 ? 50.0 : 200.0;
            return 10.0;
        },
        {{2983.0, 200.0}}));
}

// The matches point into `text`, which must outlive them.
std::vector<std::smatch> All(std::string&& text, const std::regex& pattern) = delete;
std::vector<std::smatch> All(const std::string& text, const std::regex& pattern) {
    std::vector<std::smatch> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        found.push_back(*it);
    }
    return found;
}

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    const auto start = text.find(from);
    if (start == std::string::npos) return {};
    const auto end = text.find(to, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

struct Point {
    double x;
    double y;
};

std::vector<Point> CurvePoints(const std::string& html) {
    std::vector<Point> points;
    const std::string list = Between(html, "class=\"curve\" points=\"", "/>");
    static const std::regex pair(R"((-?[\d.]+),(-?[\d.]+))");
    for (const std::smatch& m : All(list, pair)) {
        points.push_back({std::stod(m[1]), std::stod(m[2])});
    }
    return points;
}

// x1, y1, x2, y2 of the line of the given class.
std::vector<double> LineOf(const std::string& html, const std::string& cssClass) {
    const std::regex line("<line class=\"" + cssClass +
                          R"(\" x1=\"([\d.]+)\" y1=\"([\d.]+)\" x2=\"([\d.]+)\" y2=\"([\d.]+)\")");
    std::smatch m;
    if (!std::regex_search(html, m, line)) return {};
    return {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
}

TEST(CalculationSheet, IsWellFormedAndSelfContained) {
    const std::string html = CalculationSheetHtml(DefaultRecord());
    std::random_device seed;
    const auto file = std::filesystem::temp_directory_path() /
                      ("quorvel-sheet-" + std::to_string(seed()) + ".xhtml");
    std::ofstream(file, std::ios::binary) << html;
    // xmllint is a Linux program; the Windows build's tests run under Wine.
    if (std::system("xmllint --version >/dev/null 2>&1") == 0) {
        const std::string command = "xmllint --noout --nonet '" + file.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << "xmllint refuses the sheet";
    }
    std::filesystem::remove(file);

    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(html.find("<meta charset=\"utf-8\"/>"), std::string::npos);
    EXPECT_NE(html.find("size: A4"), std::string::npos);
    for (const char* outside : {"<script", "src=", "href=", "url(", "@import", "<link"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
}

TEST(CalculationSheet, HoldsTheRunTheInputsAndTheKeyFigures) {
    RunRecord record = DefaultRecord();
    record.inputs.RateText = u"36";
    record.inputs.RateUnit = 1;  // kg/hr
    const std::string html = CalculationSheetHtml(record);
    for (const char* expected :
         {"2026-12-08 09:05:07", "SCREEN3 MODEL RUN", "Quorvel标准计算程序 1.2.", "15 m", "100 m",
          "36 kg/hr（折合 10 g/s）", "0.001 g/(s·m²)", "城市", "小时评价标准 0.5 mg/m³",
          "500 µg/m³", "108 个固定距离", "Quorvel 建议距离（距面源中心） = 1150 m",
          "2983 µg/m³，距面源中心 200 m", "596.60 %",
          "<th>浓度达到 S 的最远距离</th><td>1100 m</td>",
          "<th>D10%（浓度达到 10% S 的最远距离）</th><td>3000 m</td>"}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    }
}

TEST(CalculationSheet, DailyStandardAndAVerdictOfSeveralLines) {
    RunRecord record = RecordOf(ReportOf([](double) { return 600.0; }, {{610.0, 250.0}}), 450.0f);
    record.inputs.HourlyChecked = false;
    record.inputs.DailyChecked = true;
    record.inputs.LocationIndex = 0;
    const std::string html = CalculationSheetHtml(record);
    for (const char* expected :
         {"日均评价标准 0.15 mg/m³；S = 日均评价标准 × 1000 × 3", "450 µg/m³", "农村",
          "最远超标距离 &gt; 5000 m<br/><br/>污染源强可能超标，建议削减源强后，再计算",
          "<td>&gt; 5000 m（计算范围的最远距离仍达到）</td>"}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    }
    EXPECT_TRUE(LineOf(html, "buffer").empty()) << "no buffer distance to draw";
    EXPECT_NE(html.find("<td>10 g/s</td>"), std::string::npos) << "g/s needs no conversion";
}

TEST(CalculationSheet, TheTableHasEveryDistanceAndMarksThoseReachingS) {
    const std::string html = CalculationSheetHtml(DefaultRecord());
    static const std::regex row(
        R"(<tr( class="reach")?><td>(\d+)</td><td>([^<]*)</td><td>([^<]*)</td><td>([^<]*)</td>)"
        R"(<td class="class">([^<]*)</td><td>([^<]*)</td><td>([^<]*)</td><td class="mark">([^<]*)</td></tr>)");
    const std::string body = Between(html, "<tbody>", "</tbody>");
    const auto rows = All(body, row);
    ASSERT_EQ(rows.size(), 108u);
    const std::vector<double> distances = Distances();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::smatch& m = rows[i];
        const double concentration = std::stod(m[4]);
        const bool reach = concentration >= 500.0;
        EXPECT_EQ(std::stod(m[3]), distances[i]);
        EXPECT_NEAR(std::stod(m[5]), concentration / 5.0, 0.005);
        EXPECT_EQ(m[6], "F");
        EXPECT_EQ(m[7], "1.0");
        EXPECT_EQ(m[8], "45");
        EXPECT_EQ(m[1].matched, reach) << i;
        EXPECT_EQ(m[9], reach ? "●" : "") << i;
    }
    EXPECT_EQ(rows[11].str(4), "2983");  // 200 m
}

TEST(CalculationSheet, TheFigureHasOnePointPerDistanceAndItsLinesWhereTheyBelong) {
    const std::string html = CalculationSheetHtml(DefaultRecord());
    const std::vector<Point> points = CurvePoints(html);
    ASSERT_EQ(points.size(), 108u);
    for (std::size_t i = 1; i < points.size(); ++i) EXPECT_GT(points[i].x, points[i - 1].x);

    // Rows: 200 m (index 11) holds Cmax, 1100 m (29) holds S, 1150 m (30) is
    // the buffer distance, 3000 m (67) holds 10 % of S.
    const std::vector<double> standard = LineOf(html, "standard");
    const std::vector<double> tenth = LineOf(html, "tenth");
    const std::vector<double> buffer = LineOf(html, "buffer");
    ASSERT_EQ(standard.size(), 4u);
    ASSERT_EQ(tenth.size(), 4u);
    ASSERT_EQ(buffer.size(), 4u);
    EXPECT_EQ(standard[1], standard[3]);
    EXPECT_NEAR(standard[1], points[29].y, 0.051);
    EXPECT_NEAR(tenth[1], points[67].y, 0.051);
    EXPECT_EQ(buffer[0], buffer[2]);
    EXPECT_NEAR(buffer[0], points[30].x, 0.051);

    static const std::regex circle(R"re(<circle class="maximum" cx="([\d.]+)" cy="([\d.]+)")re");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(html, m, circle));
    EXPECT_NEAR(std::stod(m[1]), points[11].x, 0.051);
    EXPECT_NEAR(std::stod(m[2]), points[11].y, 0.051);
    for (const char* label : {"S = 500 µg/m³", "10% S = 50 µg/m³", "建议距离 1150 m",
                              "Cmax = 2983 µg/m³", "距面源中心的距离 (m)", "浓度 (µg/m³)"}) {
        EXPECT_NE(html.find(label), std::string::npos) << label;
    }
}

TEST(CalculationSheet, AVerdictFromTheSummaryMaximumDrawsItsBufferDistance) {
    const std::string html =
        CalculationSheetHtml(RecordOf(ReportOf([](double) { return 300.0; }, {{520.0, 37.0}})));
    EXPECT_NE(html.find("Quorvel 建议距离（距面源中心） = 40 m"), std::string::npos);
    EXPECT_NE(html.find("各计算距离均未达到（Cmax 所在的 37 m 处达到）"), std::string::npos);
    const std::vector<Point> points = CurvePoints(html);
    const std::vector<double> buffer = LineOf(html, "buffer");
    ASSERT_EQ(buffer.size(), 4u);
    // 40 m is the fourth distance.
    EXPECT_NEAR(buffer[0], points[3].x, 0.051);
}

TEST(CalculationSheet, ReportTextIsEscaped) {
    RunRecord record = DefaultRecord();
    record.modelTitle = u"<b>A & \"B\"</b>\u0001";
    record.rows[0] = u"0 10. 700. <i>";
    const std::string html = CalculationSheetHtml(record);
    EXPECT_NE(html.find("&lt;b&gt;A &amp; &quot;B&quot;&lt;/b&gt;\xEF\xBF\xBD"), std::string::npos);
    EXPECT_NE(html.find("<td class=\"class\">&lt;i&gt;</td>"), std::string::npos);
    EXPECT_EQ(html.find("<i>"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
