#include "calc/report_reader.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

const std::u16string kEnd = u"\r\n";

std::u16string Padded(std::u16string text, std::size_t width) {
    text.resize(width, u' ');
    return text;
}

std::u16string Line(std::u16string text) { return text + kEnd; }

// A table line of exactly 64 characters.
std::u16string TableRow(std::u16string items) { return Line(Padded(std::move(items), 64)); }

// A discrete-distance table: heading, terrain heading, four column heading
// lines, the rows, and a closing line that is not a row.
std::u16string Table(const std::u16string& height, const std::vector<std::u16string>& rowItems) {
    std::u16string text = Line(u"          *** SCREEN DISCRETE DISTANCES ***");
    text += Line(u" *** TERRAIN HEIGHT OF" + Padded(u" " + height, 5) +
                 u" M ABOVE STACK BASE USED FOR FOLLOWING DISTANCES ***");
    text += Line(u"");
    text += Line(u"   DIST     CONC              U10M   USTK  MIX HT   PLUME  MAX DIR");
    text += Line(u"   (M)    (UG/M**3)   STAB   (M/S)  (M/S)   (M)    HT (M)  (DEG)");
    text += Line(u" -------  ----------  ----  -----  -----  ------   ------  -------");
    for (const auto& items : rowItems) text += TableRow(items);
    text += Line(u" MAXIMUM 1-HR CONCENTRATION AT OR BEYOND    10. M:");
    return text;
}

// A summary line with its fields placed in their columns.
std::u16string SummaryLine(const std::u16string& name, const std::u16string& concentration,
                           const std::u16string& distance, const std::u16string& rest) {
    std::u16string line = Padded(name, 19);
    line += Padded(std::u16string(11 - concentration.size(), u' ') + concentration, 11);
    line += u"  ";
    line += std::u16string(8 - distance.size(), u' ') + distance;
    line += u"   ";
    line += rest;
    return line;
}

std::u16string Summary(const std::vector<std::u16string>& lines) {
    std::u16string text = Line(u"     ***************************************");
    text += Line(u"     *** SUMMARY OF SCREEN MODEL RESULTS ***");
    text += Line(u"     ***************************************");
    text += Line(u"");
    text += Line(u" CALCULATION           MAX CONC   DIST TO   TERRAIN");
    text += Line(u"  PROCEDURE           (UG/M**3)   MAX (M)   HT (M)");
    text += Line(u" --------------       ----------  -------   -------");
    for (const auto& line : lines) text += Line(line);
    text += Line(u" ***************************************************");
    text += Line(u" ** REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS **");
    return text;
}

struct Parsed {
    bool ok = false;
    std::int16_t rowCount = -1;
    std::int16_t summaryCount = -1;
    std::vector<std::u16string> rows;
    std::vector<std::u16string> summaryRows;
    std::u16string errorText = u"untouched";
};

Parsed Parse(const std::u16string& report) {
    Parsed parsed;
    parsed.ok = ParseScreenReport(report, parsed.rowCount, parsed.summaryCount, parsed.rows,
                                  parsed.summaryRows, parsed.errorText);
    return parsed;
}

void ExpectFailure(const Parsed& parsed) {
    EXPECT_FALSE(parsed.ok);
    EXPECT_NE(parsed.errorText, u"untouched");
    EXPECT_FALSE(parsed.errorText.empty());
}

const std::u16string kSimpleSummary = SummaryLine(u"SIMPLE TERRAIN", u"123.4", u"37.", u"0.");

TEST(ParseScreenReport, TwoTablesEachWithItsOwnTerrainHeight) {
    const std::u16string report =
        Line(u" ENTER TITLE FOR THIS RUN") +
        Table(u"0.", {u"     10.   0.1234E+03    6    1.0    1.0 10000.0   15.00    45.",
                      u"  20.  99.5"}) +
        Line(u" DWASH=  MEANS NO CALC MADE") + Table(u"25.", {u"   5000.   0.1200E-01"}) +
        Summary({kSimpleSummary});
    const Parsed parsed = Parse(report);
    ASSERT_TRUE(parsed.ok) << std::string(parsed.errorText.begin(), parsed.errorText.end());
    EXPECT_EQ(parsed.errorText, u"untouched");
    EXPECT_EQ(parsed.rowCount, 3);
    ASSERT_EQ(parsed.rows.size(), 3u);
    EXPECT_EQ(parsed.rows[0], u"0 10. 0.1234E+03 6 1.0 1.0 10000.0 15.00 45.");
    EXPECT_EQ(parsed.rows[1], u"0 20. 99.5");
    EXPECT_EQ(parsed.rows[2], u"25 5000. 0.1200E-01");
    EXPECT_EQ(parsed.summaryCount, 1);
    ASSERT_EQ(parsed.summaryRows.size(), 1u);
    EXPECT_EQ(parsed.summaryRows[0], u"SIMPLE TERRAIN,123.4,37.,0.");
}

TEST(ParseScreenReport, WithoutDiscreteTablesTheSummaryIsSearchedFromTheStart) {
    const Parsed parsed = Parse(Line(u"title") + Summary({kSimpleSummary}));
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.rowCount, 0);
    EXPECT_TRUE(parsed.rows.empty());
    EXPECT_EQ(parsed.summaryCount, 1);
}

TEST(ParseScreenReport, ATableWhoseFirstLineIsNotARowYieldsNothingAndTheSearchGoesOn) {
    const std::u16string shortRow = Line(Padded(u"     10.   0.1234E+03", 63));
    std::u16string first = Table(u"0.", {});
    const std::size_t closing = first.rfind(u" MAXIMUM");
    first.insert(closing, shortRow);
    const std::u16string report =
        first + Table(u"7.5", {u"    100.   0.5000E+02"}) + Summary({kSimpleSummary});
    const Parsed parsed = Parse(report);
    ASSERT_TRUE(parsed.ok);
    ASSERT_EQ(parsed.rows.size(), 1u);
    EXPECT_EQ(parsed.rows[0], u"7.5 100. 0.5000E+02");
}

TEST(ParseScreenReport, ALast64CharacterLineWithoutLineEndIsNotARow) {
    std::u16string report = Table(u"0.", {u"     10.   0.1234E+03"});
    report.erase(report.rfind(u" MAXIMUM"));
    report += Padded(u"     20.   0.1000E+03", 64);
    const Parsed parsed = Parse(report);
    ExpectFailure(parsed);  // and no summary follows
    ASSERT_EQ(parsed.rows.size(), 1u);
    EXPECT_EQ(parsed.rows[0], u"0 10. 0.1234E+03");
}

TEST(ParseScreenReport, SummaryLinesThatAreShortOrIndentedAreNotCollected) {
    const Parsed parsed =
        Parse(Summary({u"0123456789", u"", u"    indented line of some length here", kSimpleSummary,
                       u" x         "}));
    ASSERT_FALSE(parsed.ok);  // " x         " is collected (11 characters) and too short to cut
    EXPECT_EQ(parsed.summaryCount, 2);

    const Parsed good =
        Parse(Summary({u"0123456789", u"    indented line of some length here", kSimpleSummary}));
    ASSERT_TRUE(good.ok);
    EXPECT_EQ(good.summaryCount, 1);
    EXPECT_EQ(good.summaryRows, std::vector<std::u16string>{u"SIMPLE TERRAIN,123.4,37.,0."});
}

TEST(ParseScreenReport, SummaryFieldsComeFromFixedColumns) {
    // Columns 19, 31-32 and 41-43 hold characters that must be dropped.
    const std::u16string line = Padded(u" SIMPLE  TERRAIN", 18) + u"|" + u"  1.234E+02" + u"##" +
                                u"  1234.5" + u"@@@" + u" 0. end";
    ASSERT_EQ(line.size(), 50u);
    const Parsed parsed = Parse(Summary({line, line.substr(0, 43)}));
    ASSERT_TRUE(parsed.ok);
    ASSERT_EQ(parsed.summaryRows.size(), 2u);
    EXPECT_EQ(parsed.summaryRows[0], u"SIMPLE  TERRAIN,1.234E+02,1234.5,0. end");
    EXPECT_EQ(parsed.summaryRows[1], u"SIMPLE  TERRAIN,1.234E+02,1234.5,");

    ExpectFailure(Parse(Summary({line.substr(0, 42)})));
    ExpectFailure(Parse(Summary({line.substr(0, 11)})));
}

TEST(ParseScreenReport, AnEmptySummaryBlockSucceeds) {
    const Parsed parsed = Parse(Summary({}));
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.summaryCount, 0);
    EXPECT_TRUE(parsed.summaryRows.empty());
}

TEST(ParseScreenReport, MissingPiecesEndWithAnErrorText) {
    const std::u16string table = Table(u"0.", {u"     10.   0.1234E+03"});
    std::u16string noTerrain = table;
    noTerrain.replace(noTerrain.find(u"TERRAIN"), 7, u"TERRAIX");
    ExpectFailure(Parse(noTerrain + Summary({kSimpleSummary})));

    ExpectFailure(Parse(table));  // no summary heading

    std::u16string unclosed = Summary({kSimpleSummary});
    unclosed.erase(unclosed.rfind(u" ***"));
    ExpectFailure(Parse(unclosed));

    ExpectFailure(Parse(u"*** SCREEN DISCRETE DISTANCES ***\r\n*** TERRAIN HEIGHT OF 0.\r\n\r\n"));
    ExpectFailure(Parse(u"*** SUMMARY OF SCREEN MODEL RESULTS ***\r\n\r\n\r\n"));
    ExpectFailure(Parse(u""));
}

TEST(ParseScreenReport, TheScanNeverGoesBackwards) {
    // A terrain heading only before the discrete heading, and a summary block
    // only before the tables: neither may be used.
    const std::u16string terrainFirst = Line(u" *** TERRAIN HEIGHT OF   0. M") +
                                        Line(u"*** SCREEN DISCRETE DISTANCES ***") +
                                        Summary({kSimpleSummary});
    ExpectFailure(Parse(terrainFirst));
    ExpectFailure(Parse(Summary({kSimpleSummary}) + Table(u"0.", {u"     10.   1."})));
}

TEST(ParseScreenReport, EntryEmptiesTheListsOfAnEarlierCall) {
    Parsed parsed;
    parsed.rowCount = 9;
    parsed.rows = {u"old"};
    parsed.summaryRows = {u"old"};
    ASSERT_TRUE(ParseScreenReport(Summary({}), parsed.rowCount, parsed.summaryCount, parsed.rows,
                                  parsed.summaryRows, parsed.errorText));
    EXPECT_EQ(parsed.rowCount, 0);
    EXPECT_TRUE(parsed.rows.empty());
    EXPECT_TRUE(parsed.summaryRows.empty());
}

TEST(ParseScreenReport, CountsStopAt32767) {
    std::vector<std::u16string> items(32767, u"     10.   1.");
    std::u16string report = Table(u"0.", items) + Summary({});
    const Parsed full = Parse(report);
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(full.rowCount, 32767);

    items.push_back(u"     10.   1.");
    const Parsed over = Parse(Table(u"0.", items) + Summary({}));
    ExpectFailure(over);
    EXPECT_EQ(over.rowCount, 32767);

    const Parsed summaryOver = Parse(Summary(std::vector<std::u16string>(32768, kSimpleSummary)));
    ExpectFailure(summaryOver);
    EXPECT_EQ(summaryOver.summaryCount, 32767);
}

}  // namespace
}  // namespace quorvel
