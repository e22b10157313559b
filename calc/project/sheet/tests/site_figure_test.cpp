#include "calc/project/sheet/site_figure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/project/sheet/tests/picture_bytes.h"
#include "calc/project/sheet/tests/project_records.h"
#include "calc/sheet/markup.h"

namespace quorvel::project {
namespace {

using test_support::SampleProject;
using test_support::SampleResults;

std::vector<const FigureItem*> Items(const SiteFigure& figure, FigurePart part) {
    std::vector<const FigureItem*> found;
    for (const FigureItem& item : figure.items) {
        if (item.part == part) found.push_back(&item);
    }
    return found;
}

std::vector<std::string> Subjects(const SiteFigure& figure, FigurePart part) {
    std::vector<std::string> subjects;
    for (const FigureItem* item : Items(figure, part)) subjects.push_back(item->subject);
    return subjects;
}

bool Contains(const Extent& e, SitePoint p) {
    return p.x >= e.minX && p.x <= e.maxX && p.y >= e.minY && p.y <= e.maxY;
}

TEST(SiteFigure, EverySourceIsItsRectangleTurnedByItsAngle) {
    const SiteFigure figure = BuildSiteFigure(SampleProject(), nullptr);
    const auto sources = Items(figure, FigurePart::Source);
    ASSERT_EQ(Subjects(figure, FigurePart::Source), (std::vector<std::string>{"S1", "S2", "S3"}));

    // S3: 15 m wide, 25 m long, the length turned to point north.
    const auto& s3 = std::get<PolygonShape>(sources[2]->primitive);
    ASSERT_EQ(s3.rings.size(), 1u);
    ASSERT_EQ(s3.rings[0].size(), 4u);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const SitePoint& p : s3.rings[0]) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    EXPECT_NEAR(maxX - minX, 15, 1e-9);
    EXPECT_NEAR(maxY - minY, 25, 1e-9);
    EXPECT_NEAR((minX + maxX) / 2, 60, 1e-9);
    EXPECT_NEAR((minY + maxY) / 2, 160, 1e-9);

    // S1 at 30 degrees: its first side is a length side along that angle.
    const auto& s1 = std::get<PolygonShape>(sources[0]->primitive).rings[0];
    const double dx = s1[1].x - s1[0].x;
    const double dy = s1[1].y - s1[0].y;
    EXPECT_NEAR(std::hypot(dx, dy), 60, 1e-9);
    EXPECT_NEAR(std::atan2(dy, dx) * 180 / std::numbers::pi, 30, 1e-9);
    EXPECT_NEAR(std::hypot(s1[2].x - s1[1].x, s1[2].y - s1[1].y), 40, 1e-9);

    const auto labels = Items(figure, FigurePart::SourceLabel);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(std::get<TextLabel>(labels[0]->primitive).text, "S1 罐区");
    EXPECT_EQ(std::get<TextLabel>(labels[2]->primitive).text, "S3");
}

TEST(SiteFigure, OnlySourcesWithADistanceHaveADiscAndOnlyAfterARun) {
    const Project project = SampleProject();
    const ProjectResults results = SampleResults();
    const SiteFigure after = BuildSiteFigure(project, &results);
    const auto discs = Items(after, FigurePart::Disc);
    ASSERT_EQ(Subjects(after, FigurePart::Disc), (std::vector<std::string>{"S1", "S3"}));
    const auto& disc = std::get<CircleShape>(discs[0]->primitive);
    EXPECT_EQ(disc.centre, (SitePoint{120, 80}));
    EXPECT_EQ(disc.radius, 150);
    EXPECT_FALSE(Items(after, FigurePart::Zone).empty());
    // Every disc lies within the extent.
    for (const FigureItem* item : discs) {
        const auto& c = std::get<CircleShape>(item->primitive);
        EXPECT_TRUE(Contains(after.extent, {c.centre.x - c.radius, c.centre.y - c.radius}));
        EXPECT_TRUE(Contains(after.extent, {c.centre.x + c.radius, c.centre.y + c.radius}));
    }

    const SiteFigure before = BuildSiteFigure(project, nullptr);
    EXPECT_TRUE(Items(before, FigurePart::Disc).empty());
    EXPECT_TRUE(Items(before, FigurePart::Zone).empty());
    EXPECT_TRUE(Items(before, FigurePart::ReceptorInside).empty());
    EXPECT_EQ(Items(before, FigurePart::Receptor).size(), 3u);
}

TEST(SiteFigure, ReceptorsInsideTheZoneAreMarkedHeavierAndNamed) {
    const ProjectResults results = SampleResults();
    const SiteFigure figure = BuildSiteFigure(SampleProject(), &results);
    EXPECT_EQ(Subjects(figure, FigurePart::Receptor), (std::vector<std::string>{"王家村", "张庄"}));
    EXPECT_EQ(Subjects(figure, FigurePart::ReceptorInside), (std::vector<std::string>{"李庄"}));
    EXPECT_EQ(Subjects(figure, FigurePart::ReceptorLabel),
              (std::vector<std::string>{"王家村", "李庄", "张庄"}));

    const auto& outside = std::get<Mark>(Items(figure, FigurePart::Receptor)[0]->primitive);
    const auto& inside = std::get<Mark>(Items(figure, FigurePart::ReceptorInside)[0]->primitive);
    EXPECT_EQ(inside.at, (SitePoint{140, -50}));
    EXPECT_GT(inside.size, outside.size);
    EXPECT_GT(inside.style.strokeWidth, outside.style.strokeWidth);
    EXPECT_EQ(inside.style.fill, inside.style.stroke) << "filled in the outline's colour";
    EXPECT_NE(outside.style.fill, outside.style.stroke);
    for (const FigureItem* label : Items(figure, FigurePart::ReceptorLabel)) {
        const auto& text = std::get<TextLabel>(label->primitive);
        EXPECT_EQ(text.text, label->subject);
        EXPECT_EQ(text.bold, label->subject == "李庄");
    }

    // Labels are painted after every shape, the frame's furniture last of all.
    const auto position = [&](FigurePart part) {
        return std::find_if(figure.items.begin(), figure.items.end(),
                            [&](const FigureItem& i) { return i.part == part; }) -
               figure.items.begin();
    };
    EXPECT_LT(position(FigurePart::Zone), position(FigurePart::Boundary));
    EXPECT_LT(position(FigurePart::ReceptorInside), position(FigurePart::SourceLabel));
    EXPECT_LT(position(FigurePart::ReceptorLabel), position(FigurePart::NorthArrow));
}

TEST(SiteFigure, TheExtentHoldsEverythingAndHasAnAspectAPageCanTake) {
    Project line;  // far wider than high
    line.receptors = {test_support::ReceptorAt("西", {-2000, 0}),
                      test_support::ReceptorAt("东", {3000, 10})};
    Project single;  // a single point
    single.receptors = {test_support::ReceptorAt("甲", {5, 5})};
    for (const Project& project : {SampleProject(), line, single}) {
        const SiteFigure figure = BuildSiteFigure(project, nullptr);
        const Extent& e = figure.extent;
        const double aspect = (e.maxY - e.minY) / (e.maxX - e.minX);
        EXPECT_GE(aspect, 0.6 - 1e-9);
        EXPECT_LE(aspect, 1.25 + 1e-9);
        for (const Receptor& r : project.receptors) EXPECT_TRUE(Contains(e, r.position));
        for (const SitePoint& p : project.boundary) EXPECT_TRUE(Contains(e, p));
        EXPECT_GT(figure.room.left, 0);
        EXPECT_GT(figure.room.bottom, 0);
    }
}

TEST(SiteFigure, TheScaleBarAndTicksHaveRoundLengths) {
    const SiteFigure figure = BuildSiteFigure(SampleProject(), nullptr);
    const auto bar = Items(figure, FigurePart::ScaleBar);
    ASSERT_FALSE(bar.empty());
    const auto& line = std::get<PolylineShape>(bar[0]->primitive);
    const double length = line.points[2].x - line.points[1].x;
    const double mantissa = length / std::pow(10.0, std::floor(std::log10(length)));
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                std::abs(mantissa - 5) < 1e-9)
        << length;
    bool labelled = false;
    for (const FigureItem* item : bar) {
        if (const auto* text = std::get_if<TextLabel>(&item->primitive)) {
            labelled |= text->text == NumberText(length) + " m";
        }
    }
    EXPECT_TRUE(labelled);
    for (const FigureItem* item : Items(figure, FigurePart::Tick)) {
        if (const auto* text = std::get_if<TextLabel>(&item->primitive)) {
            EXPECT_EQ(std::fmod(std::stod(text->text), 50.0), 0.0) << text->text;
        }
    }
    EXPECT_FALSE(Items(figure, FigurePart::NorthArrow).empty());
}

TEST(SiteFigure, ThePlanIsPlacedByItsTwoPointsOrItsProblemIsSaid) {
    Project project = SampleProject();
    project.plan = test_support::SamplePlan("厂区平面图.png");
    const Result<PlanPicture> picture = ReadPlanPicture(test_support::PngHeader(924, 660));
    ASSERT_TRUE(picture.ok());
    const SiteFigure drawn = BuildSiteFigure(project, nullptr, picture.value());
    EXPECT_TRUE(drawn.planProblem.empty());
    ASSERT_FALSE(drawn.items.empty());
    ASSERT_EQ(drawn.items[0].part, FigurePart::Plan) << "the picture lies under everything";
    const auto& plan = std::get<Picture>(drawn.items[0].primitive);
    EXPECT_EQ(plan.file, "厂区平面图.png");
    EXPECT_EQ(plan.bytes, picture.value().bytes);
    EXPECT_EQ(plan.pixelWidth, 924);
    const SitePoint corner = Apply(plan.placement, {912, 630});
    EXPECT_NEAR(corner.x, 300, 1e-9);
    EXPECT_NEAR(corner.y, 0, 1e-9);

    const SiteFigure unread = BuildSiteFigure(project, nullptr);
    EXPECT_TRUE(Items(unread, FigurePart::Plan).empty());
    EXPECT_FALSE(unread.planProblem.empty());

    project.plan->points[1].pixel = project.plan->points[0].pixel;
    const SiteFigure unplaced = BuildSiteFigure(project, nullptr, picture.value());
    EXPECT_TRUE(Items(unplaced, FigurePart::Plan).empty());
    EXPECT_NE(unplaced.planProblem.find(u"同一个像素"), std::u16string::npos);

    project.plan.reset();  // a picture without a plan to place it is not drawn
    const SiteFigure none = BuildSiteFigure(project, nullptr, picture.value());
    EXPECT_TRUE(Items(none, FigurePart::Plan).empty());
    EXPECT_TRUE(none.planProblem.empty());
}

TEST(SiteFigure, TheSitePlanDrawingTakesThePicturesPlace) {
    Project project = SampleProject();
    project.plan = test_support::SamplePlan("厂区平面图.png");
    const Result<PlanPicture> picture = ReadPlanPicture(test_support::PngHeader(924, 660));
    ASSERT_TRUE(picture.ok());
    dxf::PlanDrawing drawing;
    drawing.lines = {{{0, 0}, {100, 0}, {100, 50}}};
    const SiteFigure figure = BuildSiteFigure(project, nullptr, picture.value(), &drawing);
    EXPECT_TRUE(Items(figure, FigurePart::Plan).empty());
    ASSERT_EQ(Items(figure, FigurePart::Drawing).size(), 1u);
    EXPECT_EQ(figure.items[0].part, FigurePart::Drawing) << "the drawing lies under everything";
    EXPECT_TRUE(figure.planProblem.empty());
}

TEST(SiteFigure, NumbersThatAreNotFiniteAreLeftOut) {
    Project project = SampleProject();
    project.sources[1].centre.x = NAN;
    project.receptors[0].position.y = INFINITY;
    const SiteFigure figure = BuildSiteFigure(project, nullptr);
    EXPECT_EQ(Subjects(figure, FigurePart::Source), (std::vector<std::string>{"S1", "S3"}));
    EXPECT_EQ(Subjects(figure, FigurePart::Receptor), (std::vector<std::string>{"李庄", "张庄"}));
    EXPECT_TRUE(std::isfinite(figure.extent.minX) && std::isfinite(figure.extent.maxY));

    // Far-off and enormous coordinates end with a figure, however odd.
    Project far;
    far.receptors = {test_support::ReceptorAt("远", {1e18, 1e18}),
                     test_support::ReceptorAt("近", {1e18 + 50, 1e18})};
    EXPECT_LE(Items(BuildSiteFigure(far, nullptr), FigurePart::Tick).size(), 240u);
    Project huge;
    huge.receptors = {test_support::ReceptorAt("西", {-1e308, 0}),
                      test_support::ReceptorAt("东", {1e308, 0})};
    EXPECT_FALSE(BuildSiteFigure(huge, nullptr).items.empty());
}

}  // namespace
}  // namespace quorvel::project
