#include "model/area_concentration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/dispersion_coefficients.h"
#include "model/rectangle_in_wind.h"
#include "model/tests/direct_sum.h"
#include "model/vertical_term.h"

namespace quorvel {
namespace {

// The receptor on the centre's wind line, the rectangle turned clockwise by
// angle_deg as the model program sees it.
double PointSum(const AreaSource& s, const MetCondition& met, double distance, double angle_deg,
                int cells_along, int cells_across) {
    return DirectSum(s, met, distance, 0.0, -angle_deg, cells_along, cells_across);
}

TEST(AreaConcentration, AgreesWithADirectSumOverTheArea) {
    struct Case {
        AreaSource source;
        Stability stability;
        double distance;
        double angle;
    };
    AreaSource flagpole = Source(3.0, 100.0, 40.0, LandUse::Rural);
    flagpole.receptor_height = 2.0;
    const Case cases[] = {
        {Source(10.0, 300.0, 100.0, LandUse::Urban), Stability::B, 400.0, 30.0},
        {flagpole, Stability::E, 120.0, 60.0},
        {Source(15.0, 100.0, 100.0, LandUse::Urban), Stability::C, 60.0, 45.0},
    };
    for (const Case& c : cases) {
        const MetCondition met =
            MakeMetCondition(c.stability, 1.0, c.source.release_height, c.source.land_use);
        const double ours = AreaConcentration(c.source, met).At(c.distance, c.angle);
        const double direct = PointSum(c.source, met, c.distance, c.angle, 600, 300);
        EXPECT_NEAR(ours / direct, 1.0, 0.005) << c.distance << " m at " << c.angle;
    }
}

TEST(AreaConcentration, ReceptorInsideALargeAreaMatchesTheDirectSum) {
    // A point where the public program's own figure (378.0) is 3.7 % high.
    const AreaSource s = Source(5.0, 1500.0, 1500.0, LandUse::Rural);
    const MetCondition met = MakeMetCondition(Stability::F, 1.0, 5.0, LandUse::Rural);
    const double ours = AreaConcentration(s, met).At(550.0, 0.0);
    const double direct = PointSum(s, met, 550.0, 0.0, 3000, 1500);
    EXPECT_NEAR(ours / direct, 1.0, 0.003);
    EXPECT_LT(ours, 0.97 * 378.0);
}

TEST(AreaConcentration, UpperBoundHoldsAtEveryAngleAndIsCloseFarAway) {
    AreaSource flagpole = Source(3.0, 100.0, 40.0, LandUse::Rural);
    flagpole.receptor_height = 2.0;
    for (const AreaSource& s :
         {flagpole, Source(15.0, 100.0, 100.0, LandUse::Urban),
          Source(0.5, 1500.0, 300.0, LandUse::Rural), Source(0.0, 1200.0, 400.0, LandUse::Urban),
          Source(2.0, 37.0, 6.0, LandUse::Rural)}) {
        const double reach = 0.5 * std::hypot(s.larger_side, s.smaller_side);
        for (int c = 1; c <= 6; ++c) {
            for (double u10 : {1.0, 5.0}) {
                const auto stability = static_cast<Stability>(c);
                const AreaConcentration model(
                    s, MakeMetCondition(stability, u10, s.release_height, s.land_use));
                for (double d : {0.0, 30.0, 120.0, 400.0, 700.0, 1500.0, 20.0 * reach}) {
                    const double bound = model.UpperBound(d);
                    double top = 0.0;
                    for (double angle = 0.0; angle <= 90.0; angle += 5.0) {
                        top = std::max(top, model.At(d, angle));
                    }
                    EXPECT_LE(top, bound) << s.larger_side << " m, class " << c << " at " << d;
                    if (d == 20.0 * reach) {
                        EXPECT_LT(bound, 1.5 * top) << s.larger_side << " m, class " << c;
                    }
                }
            }
        }
    }
}

TEST(AreaConcentration, SymmetriesOfTheRectangle) {
    const AreaSource square = Source(2.0, 80.0, 80.0, LandUse::Urban);
    const AreaConcentration model(square, MakeMetCondition(Stability::D, 1.0, 2.0, LandUse::Urban));
    for (double angle : {0.0, 10.0, 33.0}) {
        EXPECT_NEAR(model.At(70.0, angle) / model.At(70.0, 90.0 - angle), 1.0, 1e-6) << angle;
    }
    EXPECT_DOUBLE_EQ(RectangleInWind::FoldAngle(135.0), 45.0);
    EXPECT_DOUBLE_EQ(RectangleInWind::FoldAngle(-30.0), 30.0);
    EXPECT_DOUBLE_EQ(RectangleInWind::FoldAngle(200.0), 20.0);
    EXPECT_DOUBLE_EQ(RectangleInWind::FoldAngle(90.0), 90.0);
}

TEST(AreaConcentration, ScalesWithRateAndInverselyWithWindSpeed) {
    AreaSource s = Source(0.0, 50.0, 20.0, LandUse::Rural);
    const MetCondition slow = MakeMetCondition(Stability::E, 1.0, 0.0, LandUse::Rural);
    const MetCondition fast = MakeMetCondition(Stability::E, 4.0, 0.0, LandUse::Rural);
    const double base = AreaConcentration(s, slow).At(200.0, 20.0);
    EXPECT_GT(base, 0.0);
    EXPECT_NEAR(AreaConcentration(s, fast).At(200.0, 20.0), base / 4.0, 1e-9 * base);
    s.emission_rate *= 3.0;
    EXPECT_NEAR(AreaConcentration(s, slow).At(200.0, 20.0), 3.0 * base, 1e-9 * base);
}

TEST(AreaConcentration, NothingComesFromAreaWithinOneMetreUpwind) {
    const AreaSource s = Source(0.0, 10.0, 10.0, LandUse::Urban);
    const AreaConcentration model(s, MakeMetCondition(Stability::A, 1.0, 0.0, LandUse::Urban));
    // The far edge is 5 m upwind of the centre: a receptor 4.5 m upwind of
    // the centre sees only area downwind of it or within 1 m.
    EXPECT_EQ(model.At(-4.5, 0.0), 0.0);
    EXPECT_GT(model.At(0.0, 0.0), 0.0);
    for (double d : {0.0, 5.0, 50.0, 5000.0}) EXPECT_TRUE(std::isfinite(model.At(d, 17.0)));
}

TEST(VerticalTerm, ReflectionsAndTheMixingLid) {
    const VerticalTerm open(0.0, 0.0, false, 0.0);
    EXPECT_DOUBLE_EQ(open.At(5.0), 2.0);
    const VerticalTerm lid(10.0, 0.0, true, 100.0);
    // Well below the lid the images add nothing.
    EXPECT_NEAR(lid.At(5.0), 2.0 * std::exp(-2.0), 1e-12);
    // Deep below the lid the images approach the evenly mixed value from below.
    const double mixed = std::sqrt(2.0 * std::numbers::pi) * 159.0 / 100.0;
    EXPECT_NEAR(lid.At(159.0) / mixed, 1.0, 1e-4);
    EXPECT_NEAR(lid.At(161.0), std::sqrt(2.0 * std::numbers::pi) * 161.0 / 100.0, 1e-12);
    // The same sum at a flagpole height, term by term.
    const VerticalTerm raised(10.0, 4.0, true, 50.0);
    double expected = 0.0;
    for (int n = -20; n <= 20; ++n) {
        const double lid_images = 2.0 * n * 50.0;
        expected += std::exp(-0.5 * std::pow((4.0 - 10.0 - lid_images) / 40.0, 2)) +
                    std::exp(-0.5 * std::pow((4.0 + 10.0 - lid_images) / 40.0, 2));
    }
    EXPECT_NEAR(raised.At(40.0), expected, 1e-9);
}

}  // namespace
}  // namespace quorvel
