// 导入CSV: the encodings spreadsheets save in, Chinese and English column
// names in any order, the table told from the names, and the refusals.

#include <gtest/gtest.h>

#include "calc/code_page.h"
#include "calc/unicode_text.h"
#include "ui/core/csv_import.h"
#include "calc/text_encoding_guess.h"

namespace quorvel {
namespace {

using Cells = std::vector<std::u16string>;

std::string Gbk(std::u16string_view text) { return EncodeCodePage936(text).value(); }

TEST(CsvImport, Utf8WithAByteOrderMarkAndChineseNamesInAnyOrder) {
    const std::string bytes = "\xEF\xBB\xBF" + ToUtf8(
                                                   u"名称,编号,x (m),y（m）,有效高度,宽度,长度\r\n"
                                                   u"\"罐区, 东\",S1,120,80,5,40,60\r\n"
                                                   u",,,,,,\r\n"
                                                   u"污水站,S2,-3,4,2.5,\"1\"\"0\",10\r\n");
    const Result<ImportedTable> imported = ImportCsv(bytes);
    ASSERT_TRUE(imported) << ToUtf8(imported.error());
    EXPECT_EQ(imported.value().table, TableId::Sources);
    ASSERT_EQ(imported.value().rows.size(), 2u);  // the blank line is left out
    EXPECT_EQ(imported.value().rows[0].cells,
              (Cells{u"S1", u"罐区, 东", u"120", u"80", u"", u"5", u"40", u"60"}));
    EXPECT_EQ(imported.value().rows[1].cells[6], u"1\"0");
}

TEST(CsvImport, Gb18030WithChineseNames_FourByteCharactersIncluded) {
    const std::string bytes = Gbk(u"排放源,污染物,排放率,单位,小时标准,日均标准\r\nS1,") +
                              "\x95\x32\x82\x36" +  // U+20000 in its four-byte code
                              Gbk(u"烃,0.12,kg/hr,2,\nS1,氨,1,g/s,,0.2\n");
    const Result<ImportedTable> imported = ImportCsv(bytes);
    ASSERT_TRUE(imported) << ToUtf8(imported.error());
    EXPECT_EQ(imported.value().table, TableId::Emissions);
    ASSERT_EQ(imported.value().rows.size(), 2u);
    EXPECT_EQ(imported.value().rows[0].cells,
              (Cells{u"S1", u"\U00020000烃", u"0.12", u"kg/hr", u"2", u""}));
    EXPECT_EQ(imported.value().rows[1].cells[5], u"0.2");
}

TEST(CsvImport, EnglishNamesInAnyCaseTellTheSmallestTableThatHasThem) {
    const Result<ImportedTable> emissions =
        ImportCsv("Pollutant,SOURCE,rate,Unit,Hourly\nNH3,S1,1,g/s,0.2\n");
    ASSERT_TRUE(emissions) << ToUtf8(emissions.error());
    EXPECT_EQ(emissions.value().table, TableId::Emissions);
    EXPECT_EQ(emissions.value().rows[0].cells, (Cells{u"S1", u"NH3", u"1", u"g/s", u"0.2", u""}));

    const Result<ImportedTable> boundary = ImportCsv("y,x\n0,10\n");
    ASSERT_TRUE(boundary);
    EXPECT_EQ(boundary.value().table, TableId::Boundary);
    EXPECT_EQ(boundary.value().rows[0].cells, (Cells{u"10", u"0"}));

    const Result<ImportedTable> receptors = ImportCsv("name,x,y\nVillage,1,2");
    ASSERT_TRUE(receptors);
    EXPECT_EQ(receptors.value().table, TableId::Receptors);

    const Result<ImportedTable> sources = ImportCsv("id,angle\nS1,30\n");
    ASSERT_TRUE(sources);
    EXPECT_EQ(sources.value().table, TableId::Sources);
}

TEST(CsvImport, WhatCannotBeReadIsRefusedWithItsReason) {
    const auto error = [](std::string_view bytes) { return ImportCsv(bytes).error(); };
    EXPECT_NE(error("id,colour\nS1,red\n").find(u"第 2 列的列名“colour”无法识别"),
              std::u16string::npos);
    EXPECT_NE(error("x,y,x\n1,2,3\n").find(u"出现了不止一次"), std::u16string::npos);
    EXPECT_NE(error("x,y\n1,2,3\n").find(u"第 2 行第 3 列有内容“3”"), std::u16string::npos);
    EXPECT_NE(error("height,source\n1,S1\n").find(u"不属于同一个表格"), std::u16string::npos);
    EXPECT_NE(error("\r\n\r\n").find(u"CSV文件是空的"), std::u16string::npos);
    EXPECT_NE(
        error("x,y\n\x81\x30\x81\x30,1\n").find(u"第 2 行含有本程序无法读取的 GB18030 四字节字符"),
        std::u16string::npos);
    EXPECT_NE(error("x,y\n1,\xFF\n").find(u"既不是 UTF-8 也不是 GB18030"), std::u16string::npos);
    EXPECT_TRUE(ImportCsv("x,y,\n1,2,\n"));  // a trailing empty column is no column
}

TEST(CsvImport, Utf8IsToldFromOtherBytesStrictly) {
    EXPECT_TRUE(IsValidUtf8(ToUtf8(u"污染物 \U00020000")));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE6\xB1"));          // cut short
    EXPECT_FALSE(IsValidUtf8(Gbk(u"污染物")));
}

TEST(CsvImport, ImportedRowsFollowWhatIsAlreadyTyped) {
    ProjectTables tables;
    tables.boundary.rows = {{{u"0", u"0"}, {}}, EmptyRow(TableId::Boundary)};
    ImportedTable imported{TableId::Boundary, {{{u"5", u"5"}, {}}}};
    EXPECT_EQ(AppendImported(tables, std::move(imported)), 1u);
    ASSERT_EQ(tables.boundary.rows.size(), 2u);
    EXPECT_EQ(tables.boundary.rows[0].cells[0], u"0");
    EXPECT_EQ(tables.boundary.rows[1].cells[0], u"5");
}

}  // namespace
}  // namespace quorvel
