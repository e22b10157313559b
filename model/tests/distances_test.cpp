#include "model/distances.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

TEST(AutomatedDistances, StepsOf100ThenOf500) {
    const auto d = AutomatedDistances(0.0, 5000.0);
    ASSERT_EQ(d.size(), 35u);
    EXPECT_EQ(d[0], 1.0);
    EXPECT_EQ(d[1], 100.0);
    EXPECT_EQ(d[30], 3000.0);
    EXPECT_EQ(d[31], 3500.0);
    EXPECT_EQ(d.back(), 5000.0);

    const auto odd = AutomatedDistances(150.0, 3200.0);
    EXPECT_EQ(odd.front(), 150.0);
    EXPECT_EQ(odd[1], 200.0);
    EXPECT_EQ(odd[odd.size() - 2], 3000.0);
    EXPECT_EQ(odd.back(), 3200.0);

    EXPECT_EQ(AutomatedDistances(50.0, 50.0), std::vector<double>{50.0});
    const auto beyond = AutomatedDistances(3700.0, 4100.0);
    EXPECT_EQ(beyond, (std::vector<double>{3700.0, 4000.0, 4100.0}));
}

TEST(RefinePeakToMetre, FindsTheWholeMetreOfTheLargestValue) {
    int calls = 0;
    auto hill = [&](double d) {
        ++calls;
        EXPECT_EQ(d, std::round(d));
        return 1000.0 - (d - 137.4) * (d - 137.4);
    };
    const PeakDistance p = RefinePeakToMetre(hill, {1.0, hill(1.0)}, {300.0, hill(300.0)});
    EXPECT_EQ(p.distance, 137.0);
    EXPECT_LT(calls, 30);
    // A peak at an end of the bracket stays there.
    auto falling = [](double d) { return 1.0 / d; };
    EXPECT_EQ(RefinePeakToMetre(falling, {1.0, 1.0}, {100.0, 0.01}).distance, 1.0);
}

}  // namespace
}  // namespace quorvel
