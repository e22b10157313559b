#include "calc/project/dxf/outline_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/project/dxf/drawing_shapes.h"
#include "calc/project/dxf/outline_chains.h"

namespace quorvel::project::dxf {
namespace {

TEST(OutlineGeometry, ARectangleWithinADegreeIsExactAndOtherwiseEnclosed) {
    // Corners 0.5 degrees off a right angle still make a rectangle.
    const double skew = 100.0 * std::tan(0.5 * std::acos(-1.0) / 180.0);
    const std::vector<SitePoint> nearly{{0, 0}, {100, skew}, {100, 50 + skew}, {0, 50}};
    const std::optional<SourceRectangle> rectangle = ExactRectangle(nearly);
    ASSERT_TRUE(rectangle.has_value());
    EXPECT_NEAR(rectangle->length, 100.0, 0.01);
    EXPECT_NEAR(rectangle->width, 50.0, 0.01);
    // A parallelogram is no rectangle; its enclosing rectangle has a side along one of its sides.
    const std::vector<SitePoint> leaning{{0, 0}, {100, 0}, {120, 50}, {20, 50}};
    EXPECT_FALSE(ExactRectangle(leaning).has_value());
    const std::optional<SourceRectangle> enclosing = SmallestEnclosingRectangle(leaning);
    ASSERT_TRUE(enclosing.has_value());
    EXPECT_NEAR(enclosing->length * enclosing->width, 6000.0, 1e-6);
    EXPECT_NEAR(enclosing->centre.x, 60.0, 1e-6);
    EXPECT_NEAR(enclosing->centre.y, 25.0, 1e-6);
    EXPECT_FALSE(SmallestEnclosingRectangle({{0, 0}, {1, 1}, {2, 2}}).has_value());
    EXPECT_NEAR(OutlineArea(leaning), 5000.0, 1e-9);
    const SitePoint centroid = OutlineCentroid(leaning);
    EXPECT_NEAR(centroid.x, 60.0, 1e-9);
    EXPECT_NEAR(centroid.y, 25.0, 1e-9);
}

TEST(OutlineGeometry, ArcsStayWithinTheirToleranceAndChainsCloseOnlyWhenTheyMeet) {
    const std::vector<DrawingPoint> arc = ArcPoints({0, 0}, 100.0, 0.0, 90.0, 0.1);
    EXPECT_NEAR(arc.back().x, 0.0, 1e-9);
    EXPECT_NEAR(arc.back().y, 100.0, 1e-9);
    for (std::size_t i = 0; i + 1 < arc.size(); ++i) {
        const double middle =
            std::hypot((arc[i].x + arc[i + 1].x) / 2.0, (arc[i].y + arc[i + 1].y) / 2.0);
        EXPECT_LE(100.0 - middle, 0.1);
    }
    EXPECT_LE(ArcPoints({0, 0}, 1e12, 0.0, 360.0, 1e-9).size(), 2049u);

    const auto line = [](DrawingPoint a, DrawingPoint b) {
        Shape shape;
        shape.points = {a, b};
        return shape;
    };
    // A triangle with one side drawn backwards and ends 0.5 mm apart, and a stray line.
    const Shape a = line({0, 0}, {10, 0});
    const Shape b = line({0, 10}, {10, 0.0005});
    const Shape c = line({0, 10}, {0, 0});
    const Shape stray = line({20, 20}, {30, 30});
    const std::vector<Shape> outlines = JoinedOutlines({&stray, &a, &b, &c}, 0.001);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0].points.size(), 3u);
    EXPECT_TRUE(outlines[0].cornersExact);
    EXPECT_TRUE(JoinedOutlines({&a, &b}, 0.001).empty());
}

}  // namespace
}  // namespace quorvel::project::dxf
