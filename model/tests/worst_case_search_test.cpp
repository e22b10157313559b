#include "model/worst_case_search.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

AreaSource Source(double height, LandUse land) {
    AreaSource s;
    s.emission_rate = 1e-3;
    s.release_height = height;
    s.larger_side = 120.0;
    s.smaller_side = 40.0;
    s.land_use = land;
    return s;
}

// The search skips faster winds of a class by a bound; it must find what a
// search of every condition on its own finds.
TEST(WorstCaseSearch, SkippingFasterWindsLosesNothing) {
    for (double height : {2.0, 400.0}) {
        for (LandUse land : {LandUse::Rural, LandUse::Urban}) {
            const AreaSource s = Source(height, land);
            const auto conditions = ExpandMetChoice(MetChoice{}, height, land);
            const WorstCaseSearch full(s, conditions, DirectionChoice{});
            for (double d : {30.0, 400.0, 3000.0}) {
                double best = 0.0;
                for (const MetCondition& met : conditions) {
                    best = std::max(
                        best, WorstCaseSearch(s, {met}, DirectionChoice{}).At(d).concentration);
                }
                EXPECT_NEAR(full.At(d).concentration / best, 1.0, 1e-12)
                    << height << " m at " << d << " m";
            }
        }
    }
}

TEST(WorstCaseSearch, SearchIsAtLeastEveryWholeDegree) {
    AreaSource square = Source(10.0, LandUse::Urban);
    square.smaller_side = square.larger_side;
    for (const AreaSource& s :
         {Source(10.0, LandUse::Urban), Source(3.0, LandUse::Rural), square}) {
        const auto conditions = ExpandMetChoice(MetChoice{}, s.release_height, s.land_use);
        const WorstCaseSearch search(s, conditions, DirectionChoice{});
        for (double d : {20.0, 90.0, 250.0}) {
            double best = 0.0;
            for (int angle = 0; angle <= 90; ++angle) {
                const DirectionChoice given{false, double(angle)};
                best = std::max(best, WorstCaseSearch(s, conditions, given).At(d).concentration);
            }
            EXPECT_GE(search.At(d).concentration, best * (1.0 - 1e-4))
                << s.larger_side << " x " << s.smaller_side << " at " << d << " m";
        }
    }
}

TEST(WorstCaseSearch, GivenDirectionIsFoldedIntoTheQuadrant) {
    const AreaSource s = Source(5.0, LandUse::Rural);
    const auto conditions = ExpandMetChoice(MetChoice{}, 5.0, LandUse::Rural);
    const WorstCase a = WorstCaseSearch(s, conditions, DirectionChoice{false, 30.0}).At(100.0);
    const WorstCase b = WorstCaseSearch(s, conditions, DirectionChoice{false, 150.0}).At(100.0);
    EXPECT_DOUBLE_EQ(a.concentration, b.concentration);
    EXPECT_DOUBLE_EQ(b.angle_deg, 30.0);
    EXPECT_EQ(a.met.u10, 1.0);
}

}  // namespace
}  // namespace quorvel
