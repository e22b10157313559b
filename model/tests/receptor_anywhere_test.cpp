// The concentration at a receptor off the centre's wind line, with the
// rectangle turned any way, against a direct sum over the area.

#include <gtest/gtest.h>

#include "model/area_concentration.h"
#include "model/tests/direct_sum.h"

namespace quorvel {
namespace {

TEST(ReceptorAnywhere, OnTheCentresWindLineItIsTheProgramsValue) {
    const AreaSource s = Source(4.0, 90.0, 30.0, LandUse::Rural);
    for (int c = 1; c <= 6; ++c) {
        const AreaConcentration model(
            s, MakeMetCondition(static_cast<Stability>(c), 1.0, 4.0, LandUse::Rural));
        for (double d : {0.0, 20.0, 47.0, 300.0, 2500.0}) {
            for (double angle : {0.0, 15.0, 45.0, 72.5, 90.0}) {
                const double program = model.At(d, angle);
                EXPECT_EQ(model.AtReceptor(d, 0.0, angle), program)
                    << c << " " << d << " " << angle;
                // Mirrored and half-turned rectangles look the same from the wind line.
                EXPECT_EQ(model.AtReceptor(d, 0.0, -angle), program);
                EXPECT_EQ(model.AtReceptor(d, 0.0, 180.0 - angle), program);
                EXPECT_EQ(model.AtReceptor(d, 0.0, angle + 540.0), program);
            }
        }
    }
}

TEST(ReceptorAnywhere, OffTheWindLineItAgreesWithADirectSum) {
    struct Case {
        AreaSource source;
        Stability stability;
        double downwind;
        double crosswind;
        double angle;
    };
    const Case cases[] = {
        {Source(5.0, 60.0, 40.0, LandUse::Urban), Stability::E, 120.0, 25.0, 30.0},
        {Source(5.0, 60.0, 40.0, LandUse::Urban), Stability::E, 120.0, -25.0, 30.0},
        {Source(2.0, 100.0, 10.0, LandUse::Rural), Stability::F, 80.0, 12.0, 100.0},
        {Source(2.0, 100.0, 10.0, LandUse::Rural), Stability::D, 10.0, 30.0, -20.0},
        // Inside the area, off its centre.
        {Source(3.0, 200.0, 80.0, LandUse::Rural), Stability::F, 40.0, 20.0, 200.0},
        {Source(0.0, 35.0, 20.0, LandUse::Urban), Stability::A, 300.0, -60.0, 75.0},
    };
    for (const Case& c : cases) {
        const MetCondition met =
            MakeMetCondition(c.stability, 1.0, c.source.release_height, c.source.land_use);
        const AreaConcentration model(c.source, met);
        const double direct = DirectSum(c.source, met, c.downwind, c.crosswind, c.angle, 800, 400);
        EXPECT_NEAR(model.AtReceptor(c.downwind, c.crosswind, c.angle) / direct, 1.0, 0.005)
            << c.downwind << ", " << c.crosswind << " at " << c.angle;
        EXPECT_NEAR(model.AtReceptor(c.downwind, c.crosswind, c.angle, 5e-4) / direct, 1.0, 0.005);
    }
}

TEST(ReceptorAnywhere, TheQuickEstimateIsCloseAwayFromTheArea) {
    const AreaSource s = Source(3.0, 60.0, 20.0, LandUse::Rural);
    const double reach = 0.5 * std::hypot(60.0, 20.0);
    for (int c = 1; c <= 6; ++c) {
        const AreaConcentration model(
            s, MakeMetCondition(static_cast<Stability>(c), 1.0, 3.0, LandUse::Rural));
        for (double angle : {0.0, 30.0, 90.0, 150.0}) {
            for (double offset : {0.0, 10.0}) {
                for (const auto& [multiple, within] : {std::pair{3.0, 0.15}, {10.0, 0.05}}) {
                    const double d = multiple * reach;
                    EXPECT_NEAR(
                        model.Estimate(d, offset, angle) / model.AtReceptor(d, offset, angle), 1.0,
                        within)
                        << "class " << c << " at " << angle << ", " << multiple;
                }
            }
        }
    }
}

TEST(ReceptorAnywhere, TheLowestWindOfEachClassGivesItsLargestConcentrationEverywhere) {
    // Faster wind dilutes more (1 / u at release height) and raises the
    // mixing lid (320 u10 m), which only takes reflected terms away.
    for (const AreaSource& s :
         {Source(3.0, 60.0, 40.0, LandUse::Urban), Source(12.0, 200.0, 30.0, LandUse::Rural),
          Source(0.5, 900.0, 400.0, LandUse::Rural)}) {
        for (int c = 1; c <= 6; ++c) {
            const auto stability = static_cast<Stability>(c);
            const AreaConcentration slowest(
                s, MakeMetCondition(stability, 1.0, s.release_height, s.land_use));
            for (double u10 : FullSetWindSpeeds(stability)) {
                if (u10 == 1.0) continue;
                const AreaConcentration faster(
                    s, MakeMetCondition(stability, u10, s.release_height, s.land_use));
                for (double downwind : {-20.0, 0.0, 80.0, 450.0, 3000.0, 20000.0}) {
                    for (double crosswind : {0.0, 35.0, -300.0}) {
                        const double angle = 37.0;
                        EXPECT_LE(faster.AtReceptor(downwind, crosswind, angle),
                                  slowest.AtReceptor(downwind, crosswind, angle))
                            << "class " << c << " at " << u10 << " m/s, " << downwind << ", "
                            << crosswind;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace quorvel
