// The current rule on fields whose exceedance is known exactly: a bump whose
// region at or above the standard is a disc.

#include "calc/project/field/current_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace quorvel::project {
namespace {

// c = scale e^2 exp(-r^2 / (2 sigma^2)) about `centre` with sigma = radius / 2:
// at scale 1, at or above S = 1 within `radius` m.
class Bump final : public FieldFunction {
  public:
    Bump(SitePoint centre, double radius, double scale = 1.0)
        : centre_(centre), peak_(scale * std::exp(2.0)), sigma_(0.5 * radius) {}
    SitePoint Centre() const { return centre_; }
    std::size_t Count() const override { return 1; }
    std::vector<FieldValue> At(const SitePoint& p,
                               const std::vector<std::size_t>& which) const override {
        FieldValue v;
        const double r = std::hypot(p.x - centre_.x, p.y - centre_.y);
        v.c = peak_ * std::exp(-0.5 * r * r / (sigma_ * sigma_));
        v.at = p;
        v.shares = {{"S1", v.c}};
        return std::vector<FieldValue>(which.size(), v);
    }

  private:
    SitePoint centre_;
    double peak_;
    double sigma_;
};

const std::vector<RuleField> kOne{{"苯", 1.0}};
const std::vector<SitePoint> kRectangle{{0, 0}, {300, 0}, {300, 200}, {0, 200}};
// A notch in the upper right: sides 3 (y = 100, x 150..300) and 4 (x = 150, y 100..200).
const std::vector<SitePoint> kLShape{{0, 0},     {300, 0},   {300, 100},
                                     {150, 100}, {150, 200}, {0, 200}};

FieldResult Apply(const Bump& bump, const std::vector<SitePoint>& boundary,
                  const std::vector<Receptor>& receptors = {}) {
    return ApplyCurrentRule(bump, kOne, boundary, receptors, {bump.Centre()});
}

TEST(CurrentRule, ABumpOffOneSideOfARectangle) {
    // A disc of 40 m about (330, 100): 30 m of it lies beyond side 2 (x = 300).
    const FieldResult r = Apply(Bump({330, 100}, 40), kRectangle,
                                {{"近村", {365, 100}, {}},
                                 {"远村", {420, 100}, {}},
                                 {"厂内", {150, 100}, {}},
                                 {"角外", {320, -50}, {}}});
    ASSERT_EQ(r.pollutants.size(), 1u);
    const PollutantFieldResult& p = r.pollutants[0];
    EXPECT_NEAR(*p.distance, 70.0, 0.1);
    EXPECT_NEAR(p.distanceAt->x, 370.0, 0.5);
    EXPECT_NEAR(p.distanceAt->y, 100.0, 2.0);
    // The disc less the circular segment inside the plant, beyond the chord
    // 30 m from the centre. The contour's polygon lies inside the circle, by
    // at most half a metre.
    const double segment = 1600.0 * std::acos(0.75) - 30.0 * std::sqrt(700.0);
    EXPECT_NEAR(p.exceedanceArea / (std::numbers::pi * 1600.0 - segment), 1.0, 0.015);
    EXPECT_EQ(r.distance, *p.distance);
    EXPECT_EQ(r.decidingPollutant, "苯");
    EXPECT_EQ(r.exceedingSides, std::vector<int>{2});
    // A strip 70 m wide along side 2 with half discs at both of its ends.
    const double d = *r.distance;
    EXPECT_NEAR(*r.area / (200.0 * d + std::numbers::pi * d * d), 1.0, 1e-4);
    // The largest outside the plant is the bump's top.
    ASSERT_TRUE(p.maxOutside);
    EXPECT_NEAR(p.maxOutside->at.x, 330.0, 0.1);
    EXPECT_NEAR(p.maxOutside->at.y, 100.0, 0.1);
    EXPECT_NEAR(p.maxOutside->ratio, std::exp(2.0), 1e-4);
    EXPECT_NEAR(*p.cut, 1.0 - 1.0 / p.maxOutside->c, 1e-12);
    ASSERT_EQ(r.receptors.size(), 4u);
    EXPECT_TRUE(r.receptors[0].inArea);
    EXPECT_TRUE(r.receptors[0].pollutants[0].exceeds);
    EXPECT_GT(r.receptors[0].pollutants[0].cut, 0.0);
    EXPECT_TRUE(r.receptors[1].inArea == false);
    EXPECT_FALSE(r.receptors[1].pollutants[0].exceeds);
    EXPECT_FALSE(r.receptors[2].inArea);  // inside the plant, though the field exceeds there
    EXPECT_FALSE(r.receptors[2].pollutants[0].exceeds);
    EXPECT_TRUE(r.receptors[3].inArea);  // in the round end below the plant
    // Contours at 1 and 0.5: one closed line each, the first on the disc.
    ASSERT_EQ(p.contours.size(), 2u);
    ASSERT_EQ(p.contours[0].lines.size(), 1u);
    for (const SitePoint& q : p.contours[0].lines[0]) {
        EXPECT_NEAR(std::hypot(q.x - 330.0, q.y - 100.0), 40.0, 1.0);
    }
    EXPECT_EQ(p.contours[0].lines[0].front(), p.contours[0].lines[0].back());
    EXPECT_EQ(p.contours[1].ratio, 0.5);
    EXPECT_TRUE(p.final);
}

TEST(CurrentRule, ANearestPointOnAVertexMakesBothItsSidesExceed) {
    // A disc beyond the corner (300, 200), apart from the plant.
    const FieldResult r = Apply(Bump({340, 240}, 40), kRectangle);
    EXPECT_EQ(r.exceedingSides, (std::vector<int>{2, 3}));
    EXPECT_NEAR(*r.distance, 40.0 * std::sqrt(2.0) + 40.0, 0.1);
    // Bands of that width along both sides, less the plant: two strips, the
    // quarter disc between them at the corner and a half disc at each far end.
    const double d = *r.distance;
    const double expected = 200.0 * d + 300.0 * d + 1.25 * std::numbers::pi * d * d;
    EXPECT_NEAR(*r.area / expected, 1.0, 1e-4);
}

TEST(CurrentRule, AnLShapedPlant) {
    // In the notch, close to side 3 only.
    const FieldResult low = Apply(Bump({260, 125}, 20), kLShape);
    EXPECT_EQ(low.exceedingSides, std::vector<int>{3});
    EXPECT_NEAR(*low.distance, 45.0, 0.1);
    const double d = *low.distance;
    // The strip over side 3 and the half disc beyond the corner (300, 100).
    EXPECT_NEAR(*low.area / (150.0 * d + 0.5 * std::numbers::pi * d * d), 1.0, 1e-4);

    // Deep in the notch: its top point (250, 195) is 95 m from side 3 and
    // farther from side 4; its left part lies nearer side 4.
    const FieldResult deep = Apply(Bump({250, 165}, 30), kLShape);
    EXPECT_EQ(deep.exceedingSides, (std::vector<int>{3, 4}));
    EXPECT_NEAR(*deep.distance, 95.0, 0.1);
    EXPECT_NEAR(deep.pollutants[0].distanceAt->x, 250.0, 1.0);
    EXPECT_NEAR(deep.pollutants[0].distanceAt->y, 195.0, 0.1);
}

TEST(CurrentRule, AnExceedanceBetweenGridPointsIsFound) {
    // A large plant makes the grid 50 m; the disc of 8 m about (1520, 515)
    // holds none of its points.
    const std::vector<SitePoint> large{{0, 0}, {1500, 0}, {1500, 1000}, {0, 1000}};
    const FieldResult r = Apply(Bump({1520, 515}, 8), large);
    EXPECT_NEAR(*r.distance, 28.0, 0.1);
    EXPECT_EQ(r.exceedingSides, std::vector<int>{2});
}

TEST(CurrentRule, AnExceedanceBeyondTheFramesLimitIsNotFinal) {
    RuleSettings near;
    near.farthest = 100.0;
    const Bump wide({330, 100}, 400);
    const FieldResult r = ApplyCurrentRule(wide, kOne, kRectangle, {}, {wide.Centre()}, near);
    EXPECT_FALSE(r.pollutants[0].final);
    EXPECT_NE(r.pollutants[0].note.find(u"结果不完整"), std::u16string::npos);
}

TEST(CurrentRule, NoExceedanceOutsideThePlant) {
    // Below the standard everywhere.
    const FieldResult none = Apply(Bump({330, 100}, 40, 0.8 / std::exp(2.0)), kRectangle);
    EXPECT_EQ(*none.distance, 0.0);
    EXPECT_EQ(*none.area, 0.0);
    EXPECT_TRUE(none.exceedingSides.empty());
    EXPECT_TRUE(none.decidingPollutant.empty());
    EXPECT_TRUE(none.pollutants[0].contours[0].lines.empty());
    ASSERT_TRUE(none.pollutants[0].maxOutside);
    EXPECT_EQ(*none.pollutants[0].cut, 0.0);
    EXPECT_NEAR(none.pollutants[0].maxOutside->ratio, 0.8, 1e-4);

    // Above it, but only inside the plant.
    const FieldResult inside = Apply(Bump({150, 100}, 40), kRectangle);
    EXPECT_EQ(*inside.distance, 0.0);
    EXPECT_EQ(inside.pollutants[0].exceedanceArea, 0.0);
    EXPECT_TRUE(inside.pollutants[0].exceedance.empty());
    EXPECT_FALSE(inside.pollutants[0].contours[0].lines.empty());
    EXPECT_TRUE(inside.areaPolygons.empty());
}

TEST(CurrentRule, WithoutABoundaryOnlyTheRegionsContoursAndReceptors) {
    const FieldResult r = Apply(Bump({330, 100}, 40), {}, {{"近村", {340, 100}, {}}});
    EXPECT_FALSE(r.distance);
    EXPECT_FALSE(r.area);
    EXPECT_TRUE(r.exceedingSides.empty());
    const PollutantFieldResult& p = r.pollutants[0];
    EXPECT_FALSE(p.distance);
    EXPECT_FALSE(p.maxOutside);
    EXPECT_NEAR(p.exceedanceArea / (std::numbers::pi * 1600.0), 1.0, 0.015);
    EXPECT_TRUE(r.receptors[0].pollutants[0].exceeds);
    EXPECT_FALSE(r.receptors[0].inArea);
}

}  // namespace
}  // namespace quorvel::project
