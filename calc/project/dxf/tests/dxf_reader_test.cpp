#include "calc/project/dxf/dxf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/project/dxf/drawing_shapes.h"
#include "calc/project/dxf/layer_overview.h"
#include "calc/project/dxf/tests/test_drawings.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

using test_support::TestDrawing;

std::string Message(const Result<Drawing>& drawing) { return ToUtf8(drawing.error()); }

const LayerSummary* Find(const std::vector<LayerSummary>& layers, const std::string& name) {
    for (const LayerSummary& layer : layers) {
        if (layer.name == name) return &layer;
    }
    return nullptr;
}

std::size_t CountOf(const LayerSummary& layer, const std::string& type) {
    for (const auto& [known, number] : layer.counts) {
        if (known == type) return number;
    }
    return 0;
}

TEST(DxfReader, DrawingsOfEachVersionAndEncodingAreRead) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Result<Drawing> r12 = OpenDrawing(TestDrawing("r12_metres.dxf"));
    ASSERT_TRUE(r12.ok()) << Message(r12);
    EXPECT_EQ(r12.value().version, "AC1009");
    EXPECT_FALSE(r12.value().insertionUnits.has_value());

    const Result<Drawing> gbk = OpenDrawing(TestDrawing("r2000_gbk_mm.dxf"));
    ASSERT_TRUE(gbk.ok()) << Message(gbk);
    EXPECT_EQ(gbk.value().version, "AC1015");
    EXPECT_EQ(gbk.value().insertionUnits, 4);
    EXPECT_EQ(gbk.value().blocks.count("车间"), 1u);

    const Result<Drawing> utf8 = OpenDrawing(TestDrawing("r2018_utf8_turned.dxf"));
    ASSERT_TRUE(utf8.ok()) << Message(utf8);
    EXPECT_EQ(utf8.value().version, "AC1032");
    bool sawMText = false;
    for (const Entity& entity : utf8.value().entities) {
        if (entity.kind != EntityKind::MText) continue;
        sawMText = true;
        EXPECT_EQ(entity.text, "污水站 一期");
        EXPECT_EQ(entity.layer, "排放源");
    }
    EXPECT_TRUE(sawMText);

    const Result<Drawing> escaped = OpenDrawing(TestDrawing("r2004_escapes.dxf"));
    ASSERT_TRUE(escaped.ok()) << Message(escaped);
    std::vector<std::string> names;
    for (const Layer& layer : escaped.value().layers) names.push_back(layer.name);
    EXPECT_NE(std::find(names.begin(), names.end(), "厂界"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "敏感目标"), names.end());
}

TEST(DxfReader, TheLayerOverviewCountsBlockContentsOnTheLayersTheyAreDrawnOn) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Result<Drawing> drawing = OpenDrawing(TestDrawing("r2000_gbk_mm.dxf"));
    ASSERT_TRUE(drawing.ok()) << Message(drawing);
    const Result<std::vector<LayerSummary>> overview = LayerOverview(drawing.value());
    ASSERT_TRUE(overview.ok()) << ToUtf8(overview.error());
    const std::vector<LayerSummary>& layers = overview.value();

    const LayerSummary* sources = Find(layers, "排放源");
    ASSERT_NE(sources, nullptr);
    // Two in model space, one in each of the three blocks inserted on it.
    EXPECT_EQ(CountOf(*sources, "LWPOLYLINE"), 5u);
    EXPECT_EQ(CountOf(*sources, "INSERT"), 3u);
    const LayerSummary* receptors = Find(layers, "敏感目标");
    ASSERT_NE(receptors, nullptr);
    EXPECT_EQ(ToUtf8(CountsText(*receptors)), "INSERT 1，ATTRIB 1，CIRCLE 2，POINT 1");

    const LayerSummary* frozen = Find(layers, "旧图");
    const LayerSummary* off = Find(layers, "辅助");
    ASSERT_NE(frozen, nullptr);
    ASSERT_NE(off, nullptr);
    EXPECT_TRUE(frozen->frozen);
    EXPECT_FALSE(frozen->off);
    EXPECT_TRUE(off->off);
    EXPECT_FALSE(Find(layers, "建筑")->frozen);
}

TEST(DxfReader, FilesThatAreNoAsciiDxfAreRefusedWithTheFileAndTheReason) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"binary.dxf", "二进制 DXF"},
        {"plan.dwg", "请在 CAD 中把它另存为 DXF"},
        {"truncated.dxf", "文件不完整"},
        {"notes.dxf", "不是 DXF 文件"},
        {"no such drawing.dxf", "无法打开图形文件"},
    };
    for (const auto& unusable : cases) {
        const Result<Drawing> drawing = OpenDrawing(TestDrawing(unusable.file));
        ASSERT_FALSE(drawing.ok()) << unusable.file;
        const std::string message = Message(drawing);
        EXPECT_NE(message.find(unusable.file), std::string::npos) << message;
        EXPECT_NE(message.find(unusable.reason), std::string::npos) << message;
    }
}

TEST(DxfReader, AFaultNamesItsLineAndEntity) {
    const std::string badNumber =
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n2F\n8\n0\n10\n1,5\n0\nENDSEC\n0\nEOF\n";
    EXPECT_EQ(ToUtf8(ReadDrawing(badNumber).error()),
              "第 11 行：组码 10 的值 “1,5” 不是数字（第 5 行的 LINE（句柄 2F））");
    EXPECT_EQ(ToUtf8(ReadDrawing("0\nSECTION\n2\nENTITIES\nx\n").error()),
              "第 5 行应为组码（整数），却是 “x”");
    EXPECT_EQ(ToUtf8(ReadDrawing("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n").error()),
              "文件不完整：在第 6 行意外结束（缺少结尾的 EOF），可能只复制了一部分");
    EXPECT_EQ(ToUtf8(ReadDrawing("").error()), "文件是空的，不是 DXF 文件");
    // Line ends of either kind and blanks around the codes are read.
    const Result<Drawing> read = ReadDrawing(
        "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nPOINT\r\n  8\r\nA\r\n 10\r\n1.5\r\n"
        " 20\r\n-2\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    ASSERT_TRUE(read.ok()) << Message(read);
    ASSERT_EQ(read.value().entities.size(), 1u);
    EXPECT_EQ(read.value().entities[0].layer, "A");
    EXPECT_EQ(read.value().entities[0].vertices[0].at, (DrawingPoint{1.5, -2.0}));
}

TEST(DxfReader, PaperSpaceAndABlockThatInsertsItselfAreHandled) {
    const std::string drawing =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nLOOP\n10\n0\n20\n0\n"
        "0\nINSERT\n2\nLOOP\n10\n1\n20\n0\n0\nENDBLK\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n0\nPOINT\n67\n1\n10\n5\n20\n5\n"
        "0\nINSERT\n5\nA1\n2\nloop\n10\n0\n20\n0\n0\nENDSEC\n0\nEOF\n";
    const Result<Drawing> read = ReadDrawing(drawing);
    ASSERT_TRUE(read.ok()) << Message(read);
    ASSERT_EQ(read.value().entities.size(), 1u);  // the paper space point is left out
    const Result<std::vector<LayerSummary>> overview = LayerOverview(read.value());
    ASSERT_FALSE(overview.ok());
    EXPECT_NE(ToUtf8(overview.error()).find("块 “LOOP” 嵌套超过 16 层"), std::string::npos)
        << ToUtf8(overview.error());
    // A grid of more inserts than any drawing holds.
    const std::string grid =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nPOINT\n10\n0\n20\n0\n0\nENDBLK\n"
        "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nMINSERT\n2\nB\n70\n2000000000\n71\n"
        "2000000000\n0\nENDSEC\n0\nEOF\n";
    const Result<Drawing> huge = ReadDrawing(grid);
    ASSERT_TRUE(huge.ok()) << Message(huge);
    const Result<std::vector<Shape>> shapes = DrawingShapes(huge.value(), ShapeSettings{});
    ASSERT_FALSE(shapes.ok());
    EXPECT_NE(ToUtf8(shapes.error()).find("MINSERT 的行列数过多"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::project::dxf
