#include "calc/project/sheet/site_figure_svg.h"

#include <gtest/gtest.h>

#include <regex>

#include "calc/project/sheet/base64.h"
#include "calc/project/sheet/tests/picture_bytes.h"
#include "calc/project/sheet/tests/project_records.h"
#include "calc/project/sheet/tests/well_formed.h"

namespace quorvel::project {
namespace {

using test_support::SampleProject;
using test_support::SampleResults;
using test_support::WellFormed;

Project WithPlan() {
    Project project = SampleProject();
    project.plan = test_support::SamplePlan("plan.png");
    return project;
}

// Where the painter puts a site point, from the figure's extent and room.
SitePoint Drawn(const SiteFigure& figure, double width, SitePoint site) {
    const Extent& e = figure.extent;
    const double scale = (width - figure.room.left - figure.room.right) / (e.maxX - e.minX);
    return {figure.room.left + (site.x - e.minX) * scale,
            figure.room.top + (e.maxY - site.y) * scale};
}

std::vector<double> Numbers(const std::string& text) {
    std::vector<double> numbers;
    static const std::regex number(R"(-?\d+(\.\d+)?)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
         it != std::sregex_iterator(); ++it) {
        numbers.push_back(std::stod(it->str()));
    }
    return numbers;
}

TEST(SiteFigureSvg, IsWellFormedAndEmbedsThePlanAtItsPlace) {
    const ProjectResults results = SampleResults();
    const Result<PlanPicture> picture = ReadPlanPicture(test_support::PngHeader(924, 660));
    ASSERT_TRUE(picture.ok());
    const SiteFigure figure = BuildSiteFigure(WithPlan(), &results, picture.value());
    const std::string svg = SiteFigureSvg(figure, 640);
    EXPECT_TRUE(WellFormed(svg));
    EXPECT_TRUE(svg.starts_with("<svg xmlns=\"http://www.w3.org/2000/svg\""));
    EXPECT_NE(svg.find("href=\"data:image/png;base64," + Base64(picture.value().bytes) + "\""),
              std::string::npos);

    // The image's matrix takes each plan point's pixel to where its site
    // point is drawn.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(svg, m, std::regex(R"(transform="matrix\(([^)]*)\))")));
    const std::vector<double> t = Numbers(m[1]);
    ASSERT_EQ(t.size(), 6u);
    const Project project = WithPlan();
    for (const PlanPoint& point : project.plan->points) {
        const SitePoint expected = Drawn(figure, 640, point.site);
        EXPECT_NEAR(t[0] * point.pixel.x + t[2] * point.pixel.y + t[4], expected.x, 0.02);
        EXPECT_NEAR(t[1] * point.pixel.x + t[3] * point.pixel.y + t[5], expected.y, 0.02);
    }

    Result<PlanPicture> jpeg = ReadPlanPicture(test_support::JpegHeader(924, 660));
    ASSERT_TRUE(jpeg.ok());
    EXPECT_NE(SiteFigureSvg(BuildSiteFigure(WithPlan(), &results, jpeg.value()), 640)
                  .find("href=\"data:image/jpeg;base64,"),
              std::string::npos);
}

TEST(SiteFigureSvg, NorthIsUpAndDiscsKeepTheirRadius) {
    const ProjectResults results = SampleResults();
    const SiteFigure figure = BuildSiteFigure(SampleProject(), &results);
    const std::string svg = SiteFigureSvg(figure, 800);
    std::smatch m;
    // The first circle is S1's disc: 150 m around (120, 80).
    ASSERT_TRUE(std::regex_search(
        svg, m, std::regex(R"re(<circle cx="([\d.]+)" cy="([\d.]+)" r="([\d.]+)")re")));
    const SitePoint centre = Drawn(figure, 800, {120, 80});
    const SitePoint east = Drawn(figure, 800, {270, 80});
    EXPECT_NEAR(std::stod(m[1]), centre.x, 0.01);
    EXPECT_NEAR(std::stod(m[2]), centre.y, 0.01);
    EXPECT_NEAR(std::stod(m[3]), east.x - centre.x, 0.01);
    EXPECT_LT(Drawn(figure, 800, {0, 200}).y, Drawn(figure, 800, {0, 0}).y);

    // The view box is as high as the extent's aspect needs.
    ASSERT_TRUE(std::regex_search(svg, m, std::regex(R"re(viewBox="0 0 ([\d.]+) ([\d.]+)")re")));
    EXPECT_EQ(std::stod(m[1]), 800);
    const double scale =
        (800 - figure.room.left - figure.room.right) / (figure.extent.maxX - figure.extent.minX);
    EXPECT_NEAR(
        std::stod(m[2]),
        (figure.extent.maxY - figure.extent.minY) * scale + figure.room.top + figure.room.bottom,
        0.01);
}

TEST(SiteFigureSvg, NamesAreEscapedAndMalformedTextReplaced) {
    Project project = SampleProject();
    project.receptors[0].name = "<b>A & \"B\"</b>";
    project.sources[0].name = std::string("罐\xFF区");
    const std::string svg = SiteFigureSvg(BuildSiteFigure(project, nullptr), 640);
    EXPECT_NE(svg.find("&lt;b&gt;A &amp; &quot;B&quot;&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(svg.find("S1 罐\xEF\xBF\xBD区"), std::string::npos);
    EXPECT_EQ(svg.find("<b>"), std::string::npos);
    EXPECT_TRUE(WellFormed(svg));
}

// The sheet's concentration figures carry a style sheet whose "text" rule
// reaches every SVG text of the page; each label's own size must win.
TEST(SiteFigureSvg, EveryLabelCarriesItsSizeAsAnInlineStyle) {
    const std::string svg = SiteFigureSvg(BuildSiteFigure(SampleProject(), nullptr), 640);
    static const std::regex text(R"(<text [^>]*>)");
    int labels = 0;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
         ++it, ++labels) {
        EXPECT_NE(it->str().find("style=\"font-size:"), std::string::npos) << it->str();
    }
    EXPECT_GT(labels, 5);
}

TEST(SiteFigureSvg, AFigureWithoutAnythingStillPaints) {
    const std::string svg = SiteFigureSvg(BuildSiteFigure(Project{}, nullptr), 0);
    EXPECT_TRUE(WellFormed(svg));
    EXPECT_NE(svg.find("viewBox=\"0 0 100.00 "), std::string::npos);
    SiteFigure odd;
    odd.extent = {0, 0, 0, 0};
    odd.items.push_back({FigurePart::Disc, "", CircleShape{{NAN, 1}, 5, {}}});
    EXPECT_TRUE(WellFormed(SiteFigureSvg(odd, NAN)));
}

}  // namespace
}  // namespace quorvel::project
