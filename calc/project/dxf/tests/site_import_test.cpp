#include "calc/project/dxf/site_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/project/dxf/dxf_reader.h"
#include "calc/project/dxf/tests/test_drawings.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

using test_support::TestDrawing;

constexpr double kMillimetre = 0.001;

Drawing Open(const std::string& name) {
    Result<Drawing> drawing = OpenDrawing(TestDrawing(name));
    EXPECT_TRUE(drawing.ok()) << ToUtf8(drawing.error());
    return drawing.ok() ? std::move(drawing).value() : Drawing{};
}

ImportRequest Request(std::vector<LayerChoice> layers) {
    ImportRequest request;
    request.file = "plan.dxf";
    request.layers = std::move(layers);
    request.sourceHeight = 10.0;
    return request;
}

ImportResult Imported(const Project& project, const Drawing& drawing,
                      const ImportRequest& request) {
    Result<ImportResult> result = ImportDrawing(project, drawing, request);
    EXPECT_TRUE(result.ok()) << ToUtf8(result.error());
    return result.ok() ? std::move(result).value() : ImportResult{};
}

std::string FaultOf(const Project& project, const Drawing& drawing, const ImportRequest& request) {
    const Result<ImportResult> result = ImportDrawing(project, drawing, request);
    EXPECT_FALSE(result.ok());
    return ToUtf8(result.error());
}

void ExpectSource(const Source& source, const std::string& name, SitePoint centre, double length,
                  double width, double angle) {
    SCOPED_TRACE(source.id);
    EXPECT_EQ(source.name, name);
    EXPECT_NEAR(source.centre.x, centre.x, kMillimetre);
    EXPECT_NEAR(source.centre.y, centre.y, kMillimetre);
    EXPECT_NEAR(source.length, length, kMillimetre);
    EXPECT_NEAR(source.width, width, kMillimetre);
    EXPECT_NEAR(source.angle, angle, 1e-6);
    EXPECT_EQ(source.height, 10.0);
}

void ExpectReceptor(const Receptor& receptor, const std::string& name, SitePoint at) {
    SCOPED_TRACE(receptor.name);
    EXPECT_EQ(receptor.name, name);
    EXPECT_NEAR(receptor.position.x, at.x, kMillimetre);
    EXPECT_NEAR(receptor.position.y, at.y, kMillimetre);
}

bool HasVertex(const std::vector<SitePoint>& outline, SitePoint at) {
    for (const SitePoint& p : outline) {
        if (std::hypot(p.x - at.x, p.y - at.y) <= kMillimetre) return true;
    }
    return false;
}

bool Mentions(const std::vector<std::u16string>& notes, const std::string& text) {
    for (const std::u16string& note : notes) {
        if (ToUtf8(note).find(text) != std::string::npos) return true;
    }
    return false;
}

TEST(SiteImport, OldPolylinesInMetresWithTheirTexts) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Drawing drawing = Open("r12_metres.dxf");
    ImportRequest request = Request({{"BOUNDARY", LayerRole::Boundary},
                                     {"sources", LayerRole::Sources},
                                     {"RECEPTORS", LayerRole::Receptors}});
    // The drawing does not say its unit.
    EXPECT_NE(FaultOf({}, drawing, request).find("请选择图形的单位"), std::string::npos);
    request.unit = DrawingUnit::Metre;
    const ImportResult result = Imported({}, drawing, request);
    const Project& project = result.project;
    EXPECT_EQ(project.boundary, (std::vector<SitePoint>{{0, 0}, {100, 0}, {100, 80}, {0, 80}}));
    ASSERT_EQ(project.sources.size(), 1u);
    EXPECT_EQ(project.sources[0].id, "S1");
    ExpectSource(project.sources[0], "车间甲", {30, 40}, 20, 10, 60);
    ASSERT_EQ(project.receptors.size(), 1u);
    ExpectReceptor(project.receptors[0], "张庄", {150, 60});
    ASSERT_TRUE(project.cad.has_value());
    EXPECT_EQ(project.cad->file, "plan.dxf");
    EXPECT_EQ(project.cad->unit, DrawingUnit::Metre);
    EXPECT_EQ(project.cad->origin, (SitePoint{1000, 2000}));
    EXPECT_EQ(project.cad->northDeg, 0.0);
}

TEST(SiteImport, BlocksNestedScaledTurnedAndMirroredInMillimetres) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Drawing drawing = Open("r2000_gbk_mm.dxf");
    const ImportResult result = Imported({}, drawing,
                                         Request({{"厂界", LayerRole::Boundary},
                                                  {"排放源", LayerRole::Sources},
                                                  {"敏感目标", LayerRole::Receptors}}));
    const Project& project = result.project;
    ASSERT_TRUE(project.cad.has_value());
    EXPECT_EQ(project.cad->unit, DrawingUnit::Millimetre);  // from $INSUNITS
    EXPECT_EQ(project.cad->origin, (SitePoint{512345000, 3401234000}));
    EXPECT_EQ(project.cad->layers,
              (std::vector<std::string>{"厂界", "排放源", "敏感目标", "文字", "建筑"}));

    // The boundary: the larger of the two outlines, its east side an arc of
    // radius 212.5 m around (112.5, 100) drawn within 0.1 m.
    const std::vector<SitePoint>& boundary = project.boundary;
    for (const SitePoint corner :
         {SitePoint{0, 0}, SitePoint{300, 0}, SitePoint{300, 200}, SitePoint{0, 200}}) {
        EXPECT_TRUE(HasVertex(boundary, corner)) << corner.x << ", " << corner.y;
    }
    std::size_t onArc = 0;
    for (std::size_t i = 0; i < boundary.size(); ++i) {
        const SitePoint& p = boundary[i];
        const SitePoint& q = boundary[(i + 1) % boundary.size()];
        if (p.x < 300.0 - kMillimetre || q.x < 300.0 - kMillimetre) continue;
        ++onArc;
        EXPECT_NEAR(std::hypot(p.x - 112.5, p.y - 100.0), 212.5, kMillimetre);
        const double half = std::hypot(q.x - p.x, q.y - p.y) / 2.0;
        EXPECT_LE(212.5 - std::sqrt(212.5 * 212.5 - half * half), 0.1);
    }
    EXPECT_GT(onArc, 3u);
    EXPECT_TRUE(Mentions(result.notes, "个闭合轮廓，厂界取面积最大的"));

    ASSERT_EQ(project.sources.size(), 5u);
    ExpectSource(project.sources[0], "罐区", {100, 50}, 40, 20, 30);
    // The workshop, scaled by 1.5 and turned by 45 degrees, and the room in it.
    ExpectSource(project.sources[1], "", {200, 100}, 30, 15, 45);
    const double offset = 45.0 / std::sqrt(2.0);
    ExpectSource(project.sources[2], "", {200 + offset, 100 + offset}, 12, 6, 135);
    // The store, inserted mirrored.
    ExpectSource(project.sources[3], "", {45, 153}, 10, 6, 0);
    // The L-shaped outline: its smallest enclosing rectangle, with a note.
    ExpectSource(project.sources[4], "", {270, 15}, 40, 30, 0);
    EXPECT_TRUE(Mentions(result.notes,
                         "不是矩形，按最小外接矩形导入：轮廓面积 600.0 m²，矩形面积 1200.0 m²"));
    for (std::size_t i = 0; i < project.sources.size(); ++i) {
        EXPECT_EQ(project.sources[i].id, "S" + std::to_string(i + 1));
    }

    ASSERT_EQ(project.receptors.size(), 3u);
    ExpectReceptor(project.receptors[0], "王家村", {520, 150});
    ExpectReceptor(project.receptors[1], "李家庄", {600, -50});
    ExpectReceptor(project.receptors[2], "敏感目标1", {-100, 300});
}

TEST(SiteImport, LinesAndAnArcJoinedOnATurnedGrid) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Drawing drawing = Open("r2018_utf8_turned.dxf");
    ImportRequest request =
        Request({{"厂界", LayerRole::Boundary}, {"排放源", LayerRole::Sources}});
    request.northDeg = 30.0;
    const ImportResult result = Imported({}, drawing, request);
    const Project& project = result.project;
    EXPECT_EQ(project.cad->origin, (SitePoint{10000, 20000}));
    EXPECT_EQ(project.cad->northDeg, 30.0);
    const double c = std::cos(30.0 * std::acos(-1.0) / 180.0);
    const double s = 0.5;
    const auto turned = [&](double x, double y) {
        return SitePoint{c * x + s * y, -s * x + c * y};
    };
    for (const SitePoint corner :
         {turned(0, 0), turned(200, 0), turned(200, 100), turned(0, 100)}) {
        EXPECT_TRUE(HasVertex(project.boundary, corner)) << corner.x << ", " << corner.y;
    }
    // A 200 x 100 m rectangle under a half disc of radius 100 m.
    double twiceArea = 0.0;
    for (std::size_t i = 0; i < project.boundary.size(); ++i) {
        const SitePoint& a = project.boundary[i];
        const SitePoint& b = project.boundary[(i + 1) % project.boundary.size()];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    EXPECT_NEAR(std::fabs(twiceArea) / 2.0, 20000.0 + std::acos(-1.0) * 5000.0, 30.0);
    ASSERT_EQ(project.sources.size(), 1u);
    ExpectSource(project.sources[0], "污水站 一期", turned(100, 50), 30, 10, 150);
}

TEST(SiteImport, NamesWrittenAsEscapes) {
    QUORVEL_NEED_TEST_DRAWINGS();
    ImportRequest request = Request({{"敏感目标", LayerRole::Receptors}});
    request.origin = SitePoint{0, 0};
    const ImportResult result = Imported({}, Open("r2004_escapes.dxf"), request);
    ASSERT_EQ(result.project.receptors.size(), 1u);
    ExpectReceptor(result.project.receptors[0], "王家", {80, 20});
}

TEST(SiteImport, ExtendingAProjectContinuesItsIdsAndKeepsItsTie) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Drawing drawing = Open("r12_metres.dxf");
    ImportRequest first = Request({{"BOUNDARY", LayerRole::Boundary}});
    first.unit = DrawingUnit::Metre;
    first.origin = SitePoint{900, 1900};
    first.northDeg = 0.0;
    Project project = Imported({}, drawing, first).project;
    project.sources.push_back(Source{"S7", "手填", {1, 1}, 0, 5, 10, 20, {}});
    project.sources.push_back(Source{"罐1", "", {2, 2}, 0, 5, 10, 20, {}});
    project.receptors.push_back(Receptor{"敏感目标4", {0, 0}, {}});

    // Unit, origin and north follow the tie when not given.
    ImportRequest more =
        Request({{"SOURCES", LayerRole::Sources}, {"RECEPTORS", LayerRole::Receptors}});
    more.file = "another.dxf";
    const ImportResult extended = Imported(project, drawing, more);
    ASSERT_EQ(extended.project.sources.size(), 3u);
    EXPECT_EQ(extended.project.sources[2].id, "S8");
    EXPECT_NEAR(extended.project.sources[2].centre.x, 130.0, kMillimetre);
    EXPECT_EQ(extended.project.cad, project.cad);
    EXPECT_TRUE(Mentions(extended.notes, "项目关联的图形是 “plan.dxf”，这次从 “another.dxf” 导入"));
    EXPECT_EQ(extended.project.receptors.back().name, "张庄");
    EXPECT_EQ(extended.project.boundary, project.boundary);

    // Disagreeing with the tie is refused.
    more.unit = DrawingUnit::Millimetre;
    EXPECT_NE(FaultOf(project, drawing, more).find("单位是 m，与选择的 mm 不一致"),
              std::string::npos);
    more.unit = DrawingUnit::Metre;
    more.origin = SitePoint{0, 0};
    EXPECT_NE(FaultOf(project, drawing, more).find("原点"), std::string::npos);
    more.origin.reset();
    more.northDeg = 5.0;
    EXPECT_NE(FaultOf(project, drawing, more).find("北向角"), std::string::npos);

    // A project with coordinates but no tie needs the origin.
    Project untied = project;
    untied.cad.reset();
    more.northDeg.reset();
    EXPECT_NE(FaultOf(untied, drawing, more).find("请给出图形中与场地原点"), std::string::npos);
    more.origin = SitePoint{1000, 2000};
    EXPECT_EQ(Imported(untied, drawing, more).project.sources.back().id, "S8");
}

TEST(SiteImport, UnusableChoicesAreRefused) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Drawing drawing = Open("r2000_gbk_mm.dxf");
    EXPECT_EQ(FaultOf({}, drawing, Request({{"道路", LayerRole::Boundary}})),
              "图形中没有图层 “道路”");
    EXPECT_NE(FaultOf({}, drawing, Request({{"建筑", LayerRole::Boundary}}))
                  .find("图层 “建筑” 上没有闭合的轮廓，不能作为厂界"),
              std::string::npos);
    EXPECT_EQ(FaultOf({}, drawing, Request({})), "没有选择要导入的图层（厂界、排放源或敏感目标）");
    ImportRequest noHeight = Request({{"排放源", LayerRole::Sources}});
    noHeight.sourceHeight.reset();
    EXPECT_EQ(FaultOf({}, drawing, noHeight), "导入排放源需要给出排放高度（m，大于 0）");
    // Millimetres taken for metres put the plant beyond any site.
    ImportRequest wrongUnit = Request({{"厂界", LayerRole::Boundary}});
    wrongUnit.unit = DrawingUnit::Metre;
    wrongUnit.origin = SitePoint{0, 0};
    EXPECT_NE(FaultOf({}, drawing, wrongUnit).find("请检查图形的单位和原点"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::project::dxf
