#include "calc/project/sheet/field_figure.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "calc/project/sheet/site_figure_svg.h"
#include "calc/project/sheet/tests/sample_field.h"
#include "calc/project/sheet/tests/well_formed.h"

namespace quorvel::project {
namespace {

using test_support::SampleProject;
using test_support::SampleResultsWithField;

std::vector<const FigureItem*> Items(const SiteFigure& figure, FigurePart part) {
    std::vector<const FigureItem*> found;
    for (const FigureItem& item : figure.items) {
        if (item.part == part) found.push_back(&item);
    }
    return found;
}

std::vector<std::string> Texts(const SiteFigure& figure, FigurePart part) {
    std::vector<std::string> texts;
    for (const FigureItem* item : Items(figure, part)) {
        if (const auto* label = std::get_if<TextLabel>(&item->primitive))
            texts.push_back(label->text);
    }
    return texts;
}

bool HasText(const SiteFigure& figure, FigurePart part, const std::string& piece) {
    const std::vector<std::string> texts = Texts(figure, part);
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t.find(piece) != std::string::npos; });
}

bool Inside(const Extent& e, SitePoint p) {
    return p.x >= e.minX && p.x <= e.maxX && p.y >= e.minY && p.y <= e.maxY;
}

std::ptrdiff_t Position(const SiteFigure& figure, FigurePart part) {
    return std::find_if(figure.items.begin(), figure.items.end(),
                        [&](const FigureItem& i) { return i.part == part; }) -
           figure.items.begin();
}

bool Grey(const std::optional<Colour>& c) {
    return !c || (c->red == c->green && c->green == c->blue);
}

void ExpectBlackAndWhite(const SiteFigure& figure) {
    for (const FigureItem& item : figure.items) {
        std::visit(
            [](const auto& p) {
                using T = std::decay_t<decltype(p)>;
                if constexpr (std::is_same_v<T, TextLabel>) {
                    EXPECT_TRUE(Grey(p.colour));
                } else if constexpr (!std::is_same_v<T, Picture>) {
                    EXPECT_TRUE(Grey(p.style.stroke) && Grey(p.style.fill));
                }
            },
            item.primitive);
    }
}

TEST(FieldFigure, APollutantHasItsContoursLabelledItsExceedanceShadedAndALegend) {
    const Project project = SampleProject();
    const ProjectResults results = SampleResultsWithField();
    const SiteFigure figure = BuildFieldFigure(project, results, {"非甲烷总烃"});

    const auto contours = Items(figure, FigurePart::Contour);
    ASSERT_EQ(contours.size(), 3u);
    const auto& one = std::get<PolylineShape>(contours[0]->primitive);
    const auto& half = std::get<PolylineShape>(contours[2]->primitive);
    EXPECT_EQ(contours[0]->subject, "1.0 S");
    EXPECT_TRUE(one.style.dash.empty()) << "1 S is solid";
    EXPECT_EQ(contours[2]->subject, "0.5 S");
    EXPECT_FALSE(half.style.dash.empty()) << "0.5 S is dashed";
    const std::vector<std::string> levels = Texts(figure, FigurePart::ContourLabel);
    EXPECT_EQ(std::count(levels.begin(), levels.end(), "1.0 S"), 2);
    EXPECT_EQ(std::count(levels.begin(), levels.end(), "0.5 S"), 1);

    const auto exceedance = Items(figure, FigurePart::Exceedance);
    ASSERT_EQ(exceedance.size(), 2u);
    EXPECT_TRUE(std::get<PolygonShape>(exceedance[0]->primitive).style.fill.has_value());
    EXPECT_LT(Position(figure, FigurePart::Exceedance), Position(figure, FigurePart::Boundary));
    EXPECT_LT(Position(figure, FigurePart::Contour), Position(figure, FigurePart::ReceptorLabel));

    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "非甲烷总烃（S = 2000 µg/m³）"));
    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "C = 1.0 S"));
    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "C = 0.5 S"));
    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "超标区域"));
    EXPECT_TRUE(Items(figure, FigurePart::NotFinal).empty());
    EXPECT_TRUE(Items(figure, FigurePart::Disc).empty()) << "no per-source discs";
    EXPECT_TRUE(Items(figure, FigurePart::Zone).empty());
    // 张庄 reaches S (in the plant); the others do not.
    ASSERT_EQ(Items(figure, FigurePart::ReceptorInside).size(), 1u);
    EXPECT_EQ(Items(figure, FigurePart::ReceptorInside)[0]->subject, "张庄");

    // Nothing is cut off: the contours lie in the extent, the legend below them.
    for (const FigureItem* item : contours) {
        for (const SitePoint& p : std::get<PolylineShape>(item->primitive).points)
            EXPECT_TRUE(Inside(figure.extent, p));
    }
    double legendTop = -1e9;
    for (const FigureItem* item : Items(figure, FigurePart::Legend)) {
        if (const auto* box = std::get_if<PolygonShape>(&item->primitive)) {
            for (const SitePoint& p : box->rings[0]) {
                EXPECT_TRUE(Inside(figure.extent, p));
                legendTop = std::max(legendTop, p.y);
            }
        }
    }
    EXPECT_LT(legendTop, -100) << "below the lowest contour";
    ExpectBlackAndWhite(figure);
}

TEST(FieldFigure, AllPollutantsShowTheAreaWithItsDistanceTheExceedingSidesAndTheReceptorsInIt) {
    const Project project = SampleProject();
    const ProjectResults results = SampleResultsWithField();
    const SiteFigure figure = BuildFieldFigure(project, results, {});

    ASSERT_EQ(Items(figure, FigurePart::ProtectionArea).size(), 1u);
    EXPECT_TRUE(std::get<PolygonShape>(Items(figure, FigurePart::ProtectionArea)[0]->primitive)
                    .style.fill.has_value());
    EXPECT_EQ(Items(figure, FigurePart::Exceedance).size(), 2u);
    EXPECT_EQ(Texts(figure, FigurePart::ProtectionDistance), (std::vector<std::string>{"D = 87 m"}))
        << "86.4 m rounded up";
    // The line runs from the boundary to where D is reached.
    const auto* line =
        std::get_if<PolylineShape>(&Items(figure, FigurePart::ProtectionDistance)[0]->primitive);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->points.front(), (SitePoint{300, 120}));
    EXPECT_EQ(line->points.back(), (SitePoint{386.4, 120}));

    const auto sides = Items(figure, FigurePart::ExceedingSide);
    ASSERT_EQ(sides.size(), 2u);
    const auto& south = std::get<PolylineShape>(sides[0]->primitive);
    EXPECT_EQ(south.points, (std::vector<SitePoint>{{0, 0}, {300, 0}}));
    const auto& boundary =
        std::get<PolygonShape>(Items(figure, FigurePart::Boundary)[0]->primitive);
    EXPECT_GT(south.style.strokeWidth, boundary.style.strokeWidth) << "heavier than the boundary";
    EXPECT_LT(Position(figure, FigurePart::Boundary), Position(figure, FigurePart::ExceedingSide));

    ASSERT_EQ(Items(figure, FigurePart::ReceptorInside).size(), 1u);
    EXPECT_EQ(Items(figure, FigurePart::ReceptorInside)[0]->subject, "李庄");
    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "大气环境防护距离 D = 87 m（非甲烷总烃）"));
    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "大气环境防护区域"));
    EXPECT_TRUE(HasText(figure, FigurePart::Legend, "位于防护区域内的敏感目标"));
    EXPECT_TRUE(Items(figure, FigurePart::NotFinal).empty());
    for (const SitePoint& p :
         std::get<PolygonShape>(Items(figure, FigurePart::ProtectionArea)[0]->primitive).rings[0])
        EXPECT_TRUE(Inside(figure.extent, p));
    ExpectBlackAndWhite(figure);

    // Several figures in one page: each clips to its own extent.
    const std::string svg = SiteFigureSvg(figure, 560, "field-area");
    EXPECT_TRUE(test_support::WellFormed(svg));
    EXPECT_NE(svg.find("D = 87 m"), std::string::npos);
    EXPECT_NE(svg.find("clip-path=\"url(#field-area)\""), std::string::npos);
    EXPECT_EQ(svg.find("site-extent"), std::string::npos);
}

TEST(FieldFigure, AResultThatIsNotFinalOrFailedOrMissingIsSaidOnTheFigure) {
    const Project project = SampleProject();
    ProjectResults results = SampleResultsWithField();
    PollutantFieldResult& toluene = results.field->pollutants[1];
    toluene.final = false;
    toluene.note = u"超标区域达到计算范围边缘，结果不完整";
    EXPECT_TRUE(HasText(BuildFieldFigure(project, results, {"甲苯"}), FigurePart::NotFinal,
                        "结果非最终：超标区域达到计算范围边缘"));
    EXPECT_TRUE(HasText(BuildFieldFigure(project, results, {}), FigurePart::NotFinal,
                        "结果非最终：甲苯的叠加浓度场不完整"));
    EXPECT_TRUE(
        Items(BuildFieldFigure(project, results, {"非甲烷总烃"}), FigurePart::NotFinal).empty());

    toluene = PollutantFieldResult{};
    toluene.pollutant = "甲苯";
    toluene.final = false;
    toluene.error =
        u"污染物“甲苯”的各排放的评价标准不同，不计算叠加浓度场：" + std::u16string(60, u'甲');
    const SiteFigure failed = BuildFieldFigure(project, results, {"甲苯"});
    const std::vector<std::string> notice = Texts(failed, FigurePart::NotFinal);
    ASSERT_EQ(notice.size(), 1u);
    EXPECT_EQ(notice[0].rfind("未能计算：污染物“甲苯”", 0), 0u);
    EXPECT_LT(notice[0].size(), 200u) << "a long reason is shortened on the figure";
    EXPECT_TRUE(Items(failed, FigurePart::Contour).empty());

    results.field.reset();
    EXPECT_TRUE(HasText(BuildFieldFigure(project, results, {}), FigurePart::NotFinal, "未计算"));
    EXPECT_TRUE(
        HasText(BuildFieldFigure(project, results, {"甲苯"}), FigurePart::NotFinal, "未计算"));
}

TEST(FieldFigure, NoAreaNeededOrNoBoundaryIsSaidInTheLegend) {
    Project project = SampleProject();
    ProjectResults results = SampleResultsWithField();
    results.field->distance = 0.0;
    results.field->decidingPollutant.clear();
    results.field->areaPolygons.clear();
    results.field->exceedingSides.clear();
    results.field->pollutants = {test_support::BelowPollutant()};
    const SiteFigure none = BuildFieldFigure(project, results, {});
    EXPECT_TRUE(HasText(none, FigurePart::Legend, "无需设置大气环境防护距离"));
    EXPECT_TRUE(Items(none, FigurePart::ProtectionDistance).empty());
    EXPECT_TRUE(Items(none, FigurePart::ExceedingSide).empty());

    project.boundary.clear();
    results.field->distance.reset();
    EXPECT_TRUE(HasText(BuildFieldFigure(project, results, {}), FigurePart::Legend, "未给出厂界"));
}

}  // namespace
}  // namespace quorvel::project
