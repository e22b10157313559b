#include "model/brent_maximum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

TEST(BrentMaximum, FindsSmoothAndKinkedPeaksWithinTheWidth) {
    int calls = 0;
    auto smooth = [&](double x) {
        ++calls;
        return std::cos(0.05 * (x - 37.3));
    };
    const PointValue s = BrentMaximum(smooth, 30.0, 60.0, {45.0, smooth(45.0)}, 0.25);
    EXPECT_NEAR(s.at, 37.3, 0.25);
    EXPECT_DOUBLE_EQ(s.value, smooth(s.at));
    EXPECT_LT(calls, 12);

    // A corner of the area passing the wind line makes a kink, where parabolas
    // do not help: the golden steps still close in.
    auto kinked = [](double x) { return 10.0 - std::abs(x - 3.9); };
    const PointValue k = BrentMaximum(kinked, 0.0, 15.0, {0.25, kinked(0.25)}, 0.25);
    EXPECT_NEAR(k.at, 3.9, 0.25);
    EXPECT_GE(k.value, kinked(0.25));
}

}  // namespace
}  // namespace quorvel
