#include "calc/project/sheet/site_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvel::project {
namespace {

SiteFigure FigureOf(Extent extent, LabelRoom room = {}) {
    SiteFigure figure;
    figure.extent = extent;
    figure.room = room;
    return figure;
}

void ExpectNear(PixelPoint actual, PixelPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

TEST(SiteViewTest, FitKeepsTheAspectAndCentresTheExtentInsideTheRoom) {
    // 200 m x 100 m into 420 x 420 px, less 10 px on the left and right:
    // 2 px per m across, 200 px high, centred from the top.
    const SiteView wide = FitView(FigureOf({-100, 0, 100, 100}, {10, 10, 0, 0}), 420, 420);
    EXPECT_DOUBLE_EQ(wide.scale, 2.0);
    ExpectNear(ToPixel(wide, {-100, 100}), {10, 110});
    ExpectNear(ToPixel(wide, {100, 0}), {410, 310});

    // A tall extent is fitted by its height.
    const SiteView tall = FitView(FigureOf({0, 0, 50, 100}), 400, 200);
    EXPECT_DOUBLE_EQ(tall.scale, 2.0);
    ExpectNear(ToPixel(tall, {0, 100}), {150, 0});
    ExpectNear(ToPixel(tall, {50, 0}), {250, 200});
}

TEST(SiteViewTest, FitOfAnEmptyAreaOrExtentIsStillAView) {
    for (const SiteView& view :
         {FitView(FigureOf({0, 0, 10, 10}), 0, 0), FitView(FigureOf({0, 0, 0, 10}), 100, 100),
          FitView(FigureOf({0, 0, std::nan(""), 10}), 100, 100)}) {
        EXPECT_GT(view.scale, 0);
        EXPECT_TRUE(std::isfinite(view.left));
        EXPECT_TRUE(std::isfinite(view.top));
    }
    // Room wider than the area: the extent gets all of it.
    const SiteView cramped = FitView(FigureOf({0, 0, 10, 10}, {60, 60, 60, 60}), 100, 100);
    EXPECT_DOUBLE_EQ(cramped.scale, 10.0);
}

TEST(SiteViewTest, ZoomKeepsThePointUnderThePointerAndPanMovesWithIt) {
    const SiteView view{2.0, -50, 80};
    const PixelPoint pointer{123, 45};
    const SitePoint under = ToSite(view, pointer);
    for (double factor : {1.2, 0.5, 8.0}) {
        const SiteView zoomed = ZoomedAbout(view, factor, pointer);
        EXPECT_DOUBLE_EQ(zoomed.scale, 2.0 * factor);
        ExpectNear(ToPixel(zoomed, under), pointer);
    }
    // Held within its limits, and bad input changes nothing.
    EXPECT_DOUBLE_EQ(ZoomedAbout(view, 1e12, pointer).scale, kMaxViewScale);
    EXPECT_DOUBLE_EQ(ZoomedAbout(view, 1e-12, pointer).scale, kMinViewScale);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const SiteView& same : {ZoomedAbout(view, nan, pointer), ZoomedAbout(view, -2, pointer),
                                 ZoomedAbout(view, 2, {nan, 0}), Panned(view, nan, 1)}) {
        EXPECT_DOUBLE_EQ(same.scale, view.scale);
        EXPECT_DOUBLE_EQ(same.left, view.left);
        EXPECT_DOUBLE_EQ(same.top, view.top);
    }

    const SiteView panned = Panned(view, 30, -8);
    ExpectNear(ToPixel(panned, under), {pointer.x + 30, pointer.y - 8});
}

TEST(SiteViewTest, PointerTextHasOneDecimalAndNoNegativeZero) {
    EXPECT_EQ(PointerText({1234.56, -67.84}), "x = 1234.6 m, y = -67.8 m");
    EXPECT_EQ(PointerText({-0.04, 0}), "x = 0.0 m, y = 0.0 m");
    EXPECT_EQ(PointerText({std::nan(""), 2}), "x = ? m, y = 2.0 m");
}

}  // namespace
}  // namespace quorvel::project
