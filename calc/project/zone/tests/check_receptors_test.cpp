#include <gtest/gtest.h>

#include <vector>

#include "calc/project/zone/zone.h"

namespace quorvel::project {
namespace {

constexpr double kEast = 500000;
constexpr double kNorth = 3400000;

SitePoint At(double x, double y) { return {kEast + x, kNorth + y}; }

std::vector<ReceptorResult> Check(const std::vector<SitePoint>& points,
                                  const std::vector<Disc>& discs,
                                  const std::vector<SitePoint>& boundary) {
    std::vector<Receptor> receptors;
    for (const SitePoint& p : points) {
        receptors.push_back(Receptor{"R" + std::to_string(receptors.size() + 1), p, {}});
    }
    return CheckReceptors(receptors, discs, boundary, ComputeZone(discs, boundary, true));
}

TEST(CheckReceptorsTest, CircleOfADiscIsPartOfTheZone) {
    const std::vector<Disc> discs{{At(0, 0), 150}};
    const auto results = Check(
        {At(150, 0), At(149.999, 0), At(150.001, 0), At(90, -120), At(-90, 120.001)}, discs, {});
    ASSERT_EQ(results.size(), 5u);
    const bool inside[] = {true, true, false, true, false};
    const double margin[] = {0, -0.001, 0.001, 0, 0.0008};
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].name, "R" + std::to_string(i + 1));
        EXPECT_EQ(results[i].inside, inside[i]) << i;
        EXPECT_FALSE(results[i].inPlant) << i;
        ASSERT_TRUE(results[i].margin.has_value()) << i;
        EXPECT_NEAR(*results[i].margin, margin[i], 1e-5) << i;
    }
}

TEST(CheckReceptorsTest, PlantInsideIsNoPartOfTheZoneButItsFenceLineIs) {
    const std::vector<Disc> discs{{At(100, 100), 250}};
    for (const bool clockwise : {false, true}) {
        std::vector<SitePoint> plant{At(0, 0), At(300, 0), At(300, 200), At(0, 200)};
        if (clockwise) std::swap(plant[1], plant[3]);
        const auto results = Check(
            {At(150, 100), At(300, 100), At(0, 0), At(300.001, 100), At(700, 100)}, discs, plant);
        ASSERT_EQ(results.size(), 5u);
        // In the plant, within the disc.
        EXPECT_TRUE(results[0].inPlant);
        EXPECT_FALSE(results[0].inside);
        EXPECT_NEAR(*results[0].margin, -200, 1e-9);
        // On the east fence and at a corner: outside the plant, in the zone.
        for (const std::size_t i : {1u, 2u}) {
            EXPECT_FALSE(results[i].inPlant) << i;
            EXPECT_TRUE(results[i].inside) << i;
        }
        // Just past the fence.
        EXPECT_FALSE(results[3].inPlant);
        EXPECT_TRUE(results[3].inside);
        // Far outside both.
        EXPECT_FALSE(results[4].inPlant);
        EXPECT_FALSE(results[4].inside);
        EXPECT_NEAR(*results[4].margin, 350, 1e-9);
    }
}

TEST(CheckReceptorsTest, MarginIsToTheNearestCircle) {
    const std::vector<Disc> discs{{At(0, 0), 100}, {At(400, 0), 50}, {At(0, 0), 30}};
    const auto results = Check({At(250, 0), At(380, 0), At(0, 10)}, discs, {});
    ASSERT_EQ(results.size(), 3u);
    EXPECT_NEAR(*results[0].margin, 100, 1e-9);  // 150 past the first, 100 short of the second
    EXPECT_FALSE(results[0].inside);
    EXPECT_NEAR(*results[1].margin, -30, 1e-9);
    EXPECT_TRUE(results[1].inside);
    EXPECT_NEAR(*results[2].margin, -90, 1e-9);
}

TEST(CheckReceptorsTest, WithoutDiscsNoReceptorIsInsideAndNoneHasAMargin) {
    const std::vector<SitePoint> plant{At(0, 0), At(300, 0), At(300, 200), At(0, 200)};
    const auto results = Check({At(100, 100), At(500, 100)}, {}, plant);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0].inPlant);
    EXPECT_FALSE(results[1].inPlant);
    for (const ReceptorResult& result : results) {
        EXPECT_FALSE(result.inside);
        EXPECT_FALSE(result.margin.has_value());
    }
    EXPECT_TRUE(CheckReceptors({}, {}, {}, ZoneResult{}).empty());
}

}  // namespace
}  // namespace quorvel::project

namespace quorvel::project {
namespace {

TEST(DistanceInsidePlantTest, OnlyAPointStrictlyInsideHasADistanceToTheFence) {
    const std::vector<SitePoint> plant{At(0, 0), At(300, 0), At(300, 200), At(0, 200)};
    EXPECT_NEAR(*DistanceInsidePlant(At(120, 80), plant), 80.0, 1e-6);
    EXPECT_NEAR(*DistanceInsidePlant(At(290, 150), plant), 10.0, 1e-6);
    EXPECT_FALSE(DistanceInsidePlant(At(300, 100), plant));  // on the fence line
    EXPECT_FALSE(DistanceInsidePlant(At(400, 100), plant));
    EXPECT_FALSE(DistanceInsidePlant(At(120, 80), {}));
}

}  // namespace
}  // namespace quorvel::project
