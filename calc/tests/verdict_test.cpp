#include "calc/verdict.h"

#include <functional>
#include <limits>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

const std::u16string kPrefix = u"Quorvel 建议距离（距面源中心） = ";
const std::u16string kWarning =
    u"\r\n\r\n无组织排放源强可能超过监控浓度限值，建议核实或采取措施削减源强。";
constexpr float kStandard = 500.0f;

std::u16string Number(double value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// The 108 discrete-distance rows, with the concentration that `at` gives each distance.
std::vector<std::u16string> Rows(const std::function<double(int)>& at) {
    std::vector<int> distances;
    for (int i = 1; i <= 10; ++i) distances.push_back(i * 10);
    for (int j = 1; j <= 98; ++j) distances.push_back(j * 50 + 100);
    std::vector<std::u16string> rows;
    for (const int distance : distances) {
        rows.push_back(u"0 " + Number(distance) + u". " + Number(at(distance)) + u" 6 1.0");
    }
    return rows;
}

std::vector<std::u16string> Below() {
    return Rows([](int) { return 1.0; });
}

std::u16string Summary(double concentration, const std::u16string& distance) {
    return u"SIMPLE TERRAIN," + Number(concentration) + u"," + distance + u",0.";
}

std::u16string Verdict(const std::vector<std::u16string>& rows,
                       const std::vector<std::u16string>& summary, float standard = kStandard) {
    const auto verdict = FormVerdict(rows, summary, standard);
    EXPECT_TRUE(verdict.ok()) << std::string(verdict.error().begin(), verdict.error().end());
    return verdict.ok() ? verdict.value() : u"";
}

TEST(FormVerdict, TheFirstDistanceBeyondTheFarthestThatReachesTheStandard) {
    EXPECT_EQ(Verdict(Rows([](int d) { return d <= 60 ? 900.0 : 10.0; }), {}), kPrefix + u"70 m");
    EXPECT_EQ(Verdict(Rows([](int d) { return d <= 30 || d == 100 ? 900.0 : 10.0; }), {}),
              kPrefix + u"150 m");
    EXPECT_EQ(Verdict(Rows([](int d) { return d == 60 ? 500.0 : 499.99; }), {}), kPrefix + u"70 m");
}

TEST(FormVerdict, WarningOnlyBeyond2000Metres) {
    EXPECT_EQ(Verdict(Rows([](int d) { return d <= 2000 ? 600.0 : 1.0; }), {}),
              kPrefix + u"2050 m" + kWarning);
    EXPECT_EQ(Verdict(Rows([](int d) { return d <= 1950 ? 600.0 : 1.0; }), {}),
              kPrefix + u"2000 m");
}

TEST(FormVerdict, StandardReachedAtTheLastDistance) {
    EXPECT_EQ(Verdict(Rows([](int d) { return d == 5000 ? 500.0 : 1.0; }), {Summary(9e9, u"37.")}),
              u"最远超标距离 > 5000 m\r\n\r\n污染源强可能超标，建议削减源强后，再计算");
}

TEST(FormVerdict, TheNextDistanceIsUsedUnrounded) {
    const std::vector<std::u16string> rows = {u"0 10. 900.", u"0 12.34567 1.", u"0 20 1."};
    EXPECT_EQ(Verdict(rows, {}), kPrefix + u"12.34567 m");
}

TEST(FormVerdict, FromTheLargestSummaryMaximumRoundedUpToTheNextStep) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        {u"37.", u"40 m"},   {u"40.", u"50 m"},     {u"39.5", u"50 m"},
        {u"100.", u"110 m"}, {u"100.4", u"150 m"},  {u"101", u"150 m"},
        {u"150.", u"200 m"}, {u"1960.", u"2000 m"}, {u"2000.", u"2050 m" + kWarning},
        {u"0.", u"10 m"},
    };
    for (const auto& [distance, expected] : cases) {
        EXPECT_EQ(Verdict(Below(), {Summary(500.0, distance)}), kPrefix + expected)
            << distance.size();
    }
}

TEST(FormVerdict, EqualMaximaKeepTheFirstAndNonPositiveValuesAreNeverTaken) {
    EXPECT_EQ(Verdict(Below(),
                      {Summary(10.0, u"2000."), Summary(800.0, u"37."), Summary(800.0, u"2000.")}),
              kPrefix + u"40 m");
    EXPECT_EQ(Verdict(Below(), {Summary(-900.0, u"37."), Summary(0.0, u"37.")}), u"无超标点");
}

TEST(FormVerdict, NoExceedanceAnywhere) {
    EXPECT_EQ(Verdict(Below(), {Summary(499.9, u"37.")}), u"无超标点");
    EXPECT_EQ(Verdict(Below(), {}), u"无超标点");
    EXPECT_EQ(Verdict({}, {}), u"无超标点");
}

TEST(FormVerdict, BadStandardsAndShortRowsAreErrorTexts) {
    for (const float standard : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        const auto verdict = FormVerdict(Below(), {}, standard);
        EXPECT_FALSE(verdict.ok());
        EXPECT_FALSE(verdict.error().empty());
    }
    EXPECT_FALSE(FormVerdict({u"0 10."}, {}, kStandard).ok());
    EXPECT_FALSE(FormVerdict({u"0 10. 900.", u"0"}, {}, kStandard).ok());
    EXPECT_FALSE(FormVerdict({}, {u"SIMPLE TERRAIN"}, kStandard).ok());
    EXPECT_FALSE(FormVerdict({}, {u"SIMPLE TERRAIN,900."}, kStandard).ok());
    EXPECT_FALSE(FormVerdict({}, {u"SIMPLE TERRAIN,900.,1e20,0."}, kStandard).ok());
    // Distances beyond single precision or below 0 would read "inf m" or "-20 m".
    EXPECT_FALSE(FormVerdict({u"0 10. 900.", u"0 1E39. 1."}, {}, kStandard).ok());
    EXPECT_FALSE(FormVerdict({u"0 10. 900.", u"0 -20. 1."}, {}, kStandard).ok());
    EXPECT_FALSE(FormVerdict({}, {u"SIMPLE TERRAIN,900.,-37.,0."}, kStandard).ok());
    EXPECT_EQ(Verdict({}, {u"SIMPLE TERRAIN,900.,-0.4,0."}), kPrefix + u"10 m");
    // Only rows that are read need their fields.
    EXPECT_EQ(Verdict({u"0", u"0 10. 900.", u"0 20. 1."}, {}), kPrefix + u"20 m");
}

TEST(FormVerdict, ErrorTextsQuoteAtMostTheStartOfALongRow) {
    const std::u16string tail(100000, u'x');
    const auto verdict = FormVerdict({}, {u"SIMPLE TERRAIN,900.,1e20," + tail}, kStandard);
    ASSERT_FALSE(verdict.ok());
    EXPECT_LT(verdict.error().size(), 200u);
    EXPECT_NE(verdict.error().find(u"SIMPLE TERRAIN,900.,1e20,"), std::u16string::npos);
}

TEST(DistanceText, PlainDigitsOrSevenSignificantDigits) {
    EXPECT_EQ(DistanceText(70.0f), u"70");
    EXPECT_EQ(DistanceText(5000.0f), u"5000");
    EXPECT_EQ(DistanceText(12.5f), u"12.5");
    EXPECT_EQ(DistanceText(1234.567f), u"1234.567");
}

}  // namespace
}  // namespace quorvel
