// Blocks pasted from and copied to spreadsheets: the text format with its
// quoting, pasting at a cell with rows added and columns cut, and copying a
// selection.

#include <gtest/gtest.h>

#include "ui/core/table_clipboard.h"

namespace quorvel {
namespace {

using Cells = std::vector<std::u16string>;

TEST(TableClipboard, ASpreadsheetBlockReadsWithItsQuotedCells) {
    const CellBlock block = ParseClipboardText(
        u"S1\t罐区\t120\r\n"
        u"S2\t\"污水\t站\"\t\"第一行\r\n第二行\"\r\n"
        u"S3\t\"他说\"\"好\"\"\"\t\r\n");
    ASSERT_EQ(block.size(), 3u);  // the last line end makes no row
    EXPECT_EQ(block[0], (Cells{u"S1", u"罐区", u"120"}));
    EXPECT_EQ(block[1], (Cells{u"S2", u"污水\t站", u"第一行\r\n第二行"}));
    EXPECT_EQ(block[2], (Cells{u"S3", u"他说\"好\"", u""}));
}

TEST(TableClipboard, LineEndsOfEveryKindAndStrayQuotesAreTakenAsWritten) {
    EXPECT_EQ(ParseClipboardText(u"a\nb\rc"), (CellBlock{{u"a"}, {u"b"}, {u"c"}}));
    EXPECT_EQ(ParseClipboardText(u"5"), (CellBlock{{u"5"}}));
    EXPECT_EQ(ParseClipboardText(u"\r\n"), (CellBlock{{u""}}));
    EXPECT_TRUE(ParseClipboardText(u"").empty());
    EXPECT_EQ(ParseClipboardText(u"\"open\tx"), (CellBlock{{u"\"open", u"x"}}));
    EXPECT_EQ(ParseClipboardText(u"\"a\"b\tc"), (CellBlock{{u"ab", u"c"}}));
    EXPECT_EQ(ParseClipboardText(u"say \"hi\"\t"), (CellBlock{{u"say \"hi\"", u""}}));
}

TEST(TableClipboard, CopiedTextIsWhatSpreadsheetsWriteAndReadsBack) {
    const CellBlock block{{u"编号", u"x (m)"}, {u"S1", u"1.5"}, {u"a\tb", u"引\"号\r\n换行"}};
    const std::u16string text = ClipboardText(block);
    EXPECT_EQ(text, u"编号\tx (m)\r\nS1\t1.5\r\n\"a\tb\"\t\"引\"\"号\r\n换行\"\r\n");
    EXPECT_EQ(ParseClipboardText(text), block);
}

TEST(TableClipboard, PastingABlockAddsRowsAndCountsTheColumnsItCannotHold) {
    Table table{TableId::Receptors, {{{u"甲村", u"1", u"2"}, {}}}};
    const PasteOutcome outcome =
        PasteIntoTable(table, 0, 1, u"10\t20\textra\r\n30\t40\r\n\"50\"\t60\t\t\r\n");
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].cells, (Cells{u"甲村", u"10", u"20"}));
    EXPECT_EQ(table.rows[1].cells, (Cells{u"", u"30", u"40"}));
    EXPECT_EQ(table.rows[2].cells, (Cells{u"", u"50", u"60"}));
    EXPECT_EQ(outcome.rowsAdded, 2u);
    EXPECT_EQ(outcome.firstRow, 0u);
    EXPECT_EQ(outcome.rowCount, 3u);
    EXPECT_EQ(outcome.columnCount, 2u);
    EXPECT_EQ(outcome.columnsCut, 2u);
    EXPECT_EQ(outcome.cellsCut, 1u);  // "extra"; the empty ones lose nothing
    EXPECT_EQ(PasteCutText(outcome), u"粘贴的内容超出表格的列，右侧 2 列（1 个单元格）未粘贴。");

    Table untouched = table;
    EXPECT_EQ(PasteIntoTable(untouched, 0, 3, u"x").rowCount, 0u);  // no such column
    EXPECT_EQ(untouched, table);
    EXPECT_EQ(PasteCutText(PasteIntoTable(untouched, 9, 0, u"乙村")), u"");
    EXPECT_EQ(untouched.rows.back().cells[0], u"乙村");  // past the end: appended
}

TEST(TableClipboard, ASelectionIsCopiedClippedToTheTable) {
    const Table table{TableId::Boundary,
                      {{{u"0", u"0"}, {}}, {{u"300", u"0"}, {}}, {{u"300", u"200"}, {}}}};
    EXPECT_EQ(CopyFromTable(table, 1, 5, 1, 5), u"0\r\n200\r\n");
    EXPECT_EQ(CopyFromTable(table, 0, 1, 0, 2), u"0\t0\r\n");
    EXPECT_EQ(CopyFromTable(table, 7, 1, 0, 2), u"");
    EXPECT_EQ(CopyFromTable(table, SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX), u"");
}

}  // namespace
}  // namespace quorvel
