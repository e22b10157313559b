#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "calc/project/zone/zone.h"

namespace quorvel::project {
namespace {

constexpr double kPi = std::numbers::pi;

// The area of a disc of radius r beyond a chord at distance h (0 <= h <= r)
// from its centre.
double SegmentArea(double r, double h) {
    return r * r * std::acos(h / r) - h * std::sqrt(r * r - h * h);
}

// The overlap of two discs of radius r whose centres are d apart (d <= 2r).
double LensArea(double r, double d) {
    return 2 * r * r * std::acos(d / (2 * r)) - d / 2 * std::sqrt(4 * r * r - d * d);
}

std::vector<SitePoint> Rectangle(double left, double bottom, double right, double top,
                                 bool clockwise = false) {
    std::vector<SitePoint> corners{{left, bottom}, {right, bottom}, {right, top}, {left, top}};
    if (clockwise) std::reverse(corners.begin(), corners.end());
    return corners;
}

std::vector<Disc> Shifted(std::vector<Disc> discs, double dx, double dy) {
    for (Disc& disc : discs) disc.centre = {disc.centre.x + dx, disc.centre.y + dy};
    return discs;
}

std::vector<SitePoint> Shifted(std::vector<SitePoint> points, double dx, double dy) {
    for (SitePoint& p : points) p = {p.x + dx, p.y + dy};
    return points;
}

void ExpectArea(const ZoneResult& zone, double exact) {
    EXPECT_NEAR(zone.area, exact, exact * 1e-3);
    EXPECT_TRUE(zone.error.empty());
}

void ExpectReach(const ZoneResult& zone, double exact) {
    ASSERT_TRUE(zone.maxBeyondBoundary.has_value());
    EXPECT_NEAR(*zone.maxBeyondBoundary, exact, std::max(0.1, exact * 1e-3));
}

TEST(ComputeZoneTest, OneDiscWithoutBoundaryIsTheWholeDiscDrawnAsOnePolygon) {
    const ZoneResult zone = ComputeZone({{{120, 80}, 150}}, {}, true);
    ExpectArea(zone, kPi * 150 * 150);
    EXPECT_FALSE(zone.maxBeyondBoundary.has_value());
    EXPECT_TRUE(zone.bounded);
    ASSERT_EQ(zone.polygons.size(), 1u);
    const std::vector<SitePoint>& outer = zone.polygons[0].outer;
    EXPECT_TRUE(zone.polygons[0].holes.empty());
    ASSERT_GT(outer.size(), 100u);
    EXPECT_NE(outer.front(), outer.back());  // no closing vertex
    for (const SitePoint& p : outer) {
        EXPECT_NEAR(std::hypot(p.x - 120, p.y - 80), 150, 0.01);
    }
}

TEST(ComputeZoneTest, StraightBoundaryEdgeCutsTheDisc) {
    const double r = 200;
    const double h = 80;
    // Centre inside the plant, h from its east fence: a segment of height r - h sticks out.
    const ZoneResult out = ComputeZone({{{0, 0}, r}}, Rectangle(-3000, -3000, h, 3000), true);
    ExpectArea(out, SegmentArea(r, h));
    ExpectReach(out, r - h);
    // Centre outside the plant, h from its east fence: all but a segment of height r - h.
    const ZoneResult in = ComputeZone({{{0, 0}, r}}, Rectangle(-3000, -3000, -h, 3000), true);
    ExpectArea(in, kPi * r * r - SegmentArea(r, h));
    ExpectReach(in, r + h);
    // A thin sliver beyond the fence.
    const ZoneResult sliver =
        ComputeZone({{{0, 0}, r}}, Rectangle(-3000, -3000, 0.98 * r, 3000), true);
    ExpectArea(sliver, SegmentArea(r, 0.98 * r));
    ExpectReach(sliver, 0.02 * r);
}

TEST(ComputeZoneTest, OverlappingDiscsCountTheirOverlapOnce) {
    const double r = 100;
    const double d = 120;
    const double exact = 2 * kPi * r * r - LensArea(r, d);
    ExpectArea(ComputeZone({{{0, 0}, r}, {{d, 0}, r}}, {}, true), exact);
    // A repeated disc and one lying within another add nothing.
    const ZoneResult repeated = ComputeZone(
        {{{0, 0}, r}, {{d, 0}, r}, {{0, 0}, r}, {{d, 0}, 40}, {{d + 60, 0}, 40}}, {}, true);
    ExpectArea(repeated, exact);
    EXPECT_EQ(repeated.polygons.size(), 1u);
    // Discs apart stay apart.
    const ZoneResult apart = ComputeZone({{{0, 0}, r}, {{500, 0}, r}}, {}, true);
    ExpectArea(apart, 2 * kPi * r * r);
    EXPECT_EQ(apart.polygons.size(), 2u);
}

TEST(ComputeZoneTest, DiscWithinThePlantLeavesNoZone) {
    const std::vector<SitePoint> plant = Rectangle(0, 0, 300, 200);
    for (const double r : {50.0, 100.0}) {  // 100 touches the south and north fences
        const ZoneResult zone = ComputeZone({{{150, 100}, r}}, plant, true);
        EXPECT_NEAR(zone.area, 0, 1e-6) << r;
        EXPECT_TRUE(zone.polygons.empty()) << r;
        ExpectReach(zone, 0);
        EXPECT_TRUE(zone.error.empty());
    }
}

TEST(ComputeZoneTest, DiscFromInsideTheCornerOfASquarePlantReachesPastItsNearestFence) {
    // 100 m from the west fence, 120 m from the south one: the farthest point
    // of the zone is due west, r - 100 beyond the fence; towards the corner the
    // circle is nearer the corner than that.
    const ZoneResult zone = ComputeZone({{{100, 120}, 250}}, Rectangle(0, 0, 1000, 1000), true);
    ExpectReach(zone, 150);
    EXPECT_GT(zone.area, SegmentArea(250, 100));
    EXPECT_LT(zone.area, SegmentArea(250, 100) + SegmentArea(250, 120));
}

TEST(ComputeZoneTest, FarthestPointCanBeTheMiddleOfAYardThePlantAlmostEncloses) {
    // A square plant around a 100 m yard of its own, open to the east by a
    // 20 m lane. The disc fills the middle of the yard, 50 m from its fences;
    // where its circle leaves the plant it is nearer a fence than that.
    const std::vector<SitePoint> plant{{0, 0},     {300, 0},   {300, 140}, {200, 140},
                                       {200, 100}, {100, 100}, {100, 200}, {200, 200},
                                       {200, 160}, {300, 160}, {300, 300}, {0, 300}};
    const ZoneResult zone = ComputeZone({{{150, 150}, 60}}, plant, true);
    ExpectReach(zone, 50);
    // In the yard: the disc less its four segments beyond the yard's fences;
    // in the lane, less than 20 m by 10 m more.
    const double inYard = kPi * 60 * 60 - 4 * SegmentArea(60, 50);
    EXPECT_GT(zone.area, inYard);
    EXPECT_LT(zone.area, inYard + 200);
}

TEST(ComputeZoneTest, TurningSenseOfTheBoundaryDoesNotMatter) {
    const std::vector<Disc> discs{{{0, 0}, 200}, {{250, 50}, 150}};
    const ZoneResult ccw = ComputeZone(discs, Rectangle(-50, -80, 300, 120), true);
    const ZoneResult cw = ComputeZone(discs, Rectangle(-50, -80, 300, 120, true), true);
    EXPECT_GT(ccw.area, 0);
    EXPECT_NEAR(cw.area, ccw.area, ccw.area * 1e-9);
    ASSERT_TRUE(cw.maxBeyondBoundary && ccw.maxBeyondBoundary);
    EXPECT_NEAR(*cw.maxBeyondBoundary, *ccw.maxBeyondBoundary, 1e-6);
    EXPECT_EQ(cw.polygons.size(), ccw.polygons.size());
}

TEST(ComputeZoneTest, GridCoordinatesInTheMillionsGiveTheSameZone) {
    const std::vector<Disc> discs{{{0, 0}, 200}, {{250, 50}, 150}};
    const std::vector<SitePoint> plant = Rectangle(-50, -80, 300, 120);
    const ZoneResult near = ComputeZone(discs, plant, true);
    const double dx = 500000.125;
    const double dy = 3400000.5;
    const ZoneResult far = ComputeZone(Shifted(discs, dx, dy), Shifted(plant, dx, dy), true);
    EXPECT_NEAR(far.area, near.area, near.area * 1e-7);
    ASSERT_TRUE(far.maxBeyondBoundary && near.maxBeyondBoundary);
    EXPECT_NEAR(*far.maxBeyondBoundary, *near.maxBeyondBoundary, 1e-3);
    ASSERT_EQ(far.polygons.size(), near.polygons.size());
    ASSERT_FALSE(far.polygons[0].outer.empty());
    EXPECT_NEAR(far.polygons[0].outer[0].x, near.polygons[0].outer[0].x + dx, 1e-6);
    EXPECT_NEAR(far.polygons[0].outer[0].y, near.polygons[0].outer[0].y + dy, 1e-6);
}

TEST(ComputeZoneTest, NoDiscsGiveAnEmptyZone) {
    const ZoneResult bare = ComputeZone({}, Rectangle(0, 0, 300, 200), false);
    EXPECT_FALSE(bare.bounded);
    EXPECT_EQ(bare.area, 0);
    EXPECT_TRUE(bare.polygons.empty());
    ExpectReach(bare, 0);
    EXPECT_FALSE(ComputeZone({}, {}, true).maxBeyondBoundary.has_value());
    // Discs that cover nothing are no discs.
    const ZoneResult unusable = ComputeZone(
        {{{0, 0}, 0}, {{0, 0}, -5}, {{0, std::numeric_limits<double>::quiet_NaN()}, 10}}, {}, true);
    EXPECT_EQ(unusable.area, 0);
    EXPECT_TRUE(unusable.polygons.empty());
}

// Whether p is inside the ring, by counting crossings.
bool InsideRing(const std::vector<SitePoint>& ring, SitePoint p) {
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const SitePoint a = ring[i];
        const SitePoint b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

TEST(ComputeZoneTest, ManySourcesOfAnLShapedPlantMatchACountOfItsSquareMetres) {
    const std::vector<SitePoint> plant{{0, 0},     {400, 0},   {400, 150},
                                       {180, 150}, {180, 350}, {0, 350}};
    const std::vector<Disc> discs{{{40, 40}, 90},   {{120, 60}, 130},  {{220, 50}, 70},
                                  {{330, 80}, 110}, {{370, 120}, 60},  {{60, 200}, 150},
                                  {{120, 300}, 80}, {{150, 180}, 100}, {{60, 320}, 45},
                                  {{300, 40}, 95},  {{90, 120}, 120},  {{330, 80}, 110}};
    double counted = 0;
    for (double x = -200.5; x < 600; x += 1) {
        for (double y = -200.5; y < 600; y += 1) {
            const SitePoint p{x, y};
            const bool inDisc = std::any_of(discs.begin(), discs.end(), [&](const Disc& d) {
                return std::hypot(p.x - d.centre.x, p.y - d.centre.y) <= d.radius;
            });
            if (inDisc && !InsideRing(plant, p)) counted += 1;
        }
    }
    const ZoneResult zone = ComputeZone(discs, plant, true);
    EXPECT_NEAR(zone.area, counted, counted * 2e-3);
    EXPECT_TRUE(zone.error.empty());
    // The farthest reach: the disc at (60, 200) passes the west fence by 90 m.
    ExpectReach(zone, 90);
}

}  // namespace
}  // namespace quorvel::project
