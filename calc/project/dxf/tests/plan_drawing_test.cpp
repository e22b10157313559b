#include "calc/project/dxf/plan_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/project/dxf/tests/test_drawings.h"
#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_figure_svg.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

using test_support::TestDrawing;

CadTie PlanTie(std::vector<std::string> layers) {
    CadTie tie;
    tie.file = "r2000_gbk_mm.dxf";
    tie.unit = DrawingUnit::Millimetre;
    tie.origin = {512345000, 3401234000};
    tie.layers = std::move(layers);
    return tie;
}

TEST(PlanDrawing, TheTiesLayersComeInSiteCoordinates) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const Result<PlanDrawing> plan =
        LoadPlanDrawing(TestDrawing("").parent_path(), PlanTie({"建筑", "文字", "辅助"}));
    ASSERT_TRUE(plan.ok()) << ToUtf8(plan.error());
    // The line of 建筑 and the circle of 辅助 (drawn when the tie names it, off or not).
    ASSERT_EQ(plan.value().lines.size(), 2u);
    const std::vector<SitePoint>& line = plan.value().lines[0];
    ASSERT_EQ(line.size(), 2u);
    EXPECT_NEAR(line[0].x, 0.0, 1e-6);
    EXPECT_NEAR(line[0].y, -20.0, 1e-6);
    EXPECT_NEAR(line[1].x, 300.0, 1e-6);
    const std::vector<SitePoint>& circle = plan.value().lines[1];
    EXPECT_EQ(circle.front(), circle.back());
    for (const SitePoint& p : circle) EXPECT_NEAR(std::hypot(p.x, p.y + 40.0), 1.0, 1e-6);
    ASSERT_EQ(plan.value().texts.size(), 2u);
    EXPECT_EQ(plan.value().texts[0].text, "罐区");
    EXPECT_NEAR(plan.value().texts[0].at.x, 100.0, 1e-6);
    EXPECT_NEAR(plan.value().texts[0].height, 2.5, 1e-9);

    const Result<PlanDrawing> missing = LoadPlanDrawing("no such folder", PlanTie({}));
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(ToUtf8(missing.error()).find("r2000_gbk_mm.dxf"), std::string::npos);
}

TEST(PlanDrawing, TheFigureDrawsItThinAndGreyUnderThePlantWithoutWideningIt) {
    Project project;
    project.boundary = {{0, 0}, {100, 0}, {100, 80}, {0, 80}};
    PlanDrawing drawing;
    drawing.lines.push_back({{10, 10}, {90, 10}});
    drawing.lines.push_back({{-5000, 0}, {5000, 0}});  // a road far beyond the plant
    drawing.texts.push_back({"仓库", {20, 20}, 2.5});
    const SiteFigure plain = BuildSiteFigure(project, nullptr);
    const SiteFigure figure = BuildSiteFigure(project, nullptr, std::nullopt, &drawing);
    EXPECT_EQ(figure.extent.maxX, plain.extent.maxX);
    ASSERT_GE(figure.items.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(figure.items[i].part, FigurePart::Drawing);
    EXPECT_TRUE(IsClippedToExtent(FigurePart::Drawing));
    const auto& text = std::get<TextLabel>(figure.items[2].primitive);
    EXPECT_EQ(text.text, "仓库");
    EXPECT_NEAR(LabelSize(text, 2.0), 2.5 * 1.4 * 2.0, 1e-9);
    EXPECT_EQ(LabelSize(text, 0.1), 0.0);  // too small to read

    const std::string svg = SiteFigureSvg(figure, 500);
    EXPECT_NE(svg.find("stroke=\"#a5a5a5\" fill=\"none\" stroke-width=\"0.40\""), std::string::npos)
        << svg;
    EXPECT_NE(svg.find(">仓库</text>"), std::string::npos);
    EXPECT_EQ(SiteFigureSvg(BuildSiteFigure(project, nullptr, std::nullopt, nullptr), 500)
                  .find("#a5a5a5"),
              std::string::npos);
}

}  // namespace
}  // namespace quorvel::project::dxf
