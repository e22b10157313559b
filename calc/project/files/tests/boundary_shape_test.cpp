#include "calc/project/files/boundary_shape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::vector<SitePoint> Square() { return {{0, 0}, {300, 0}, {300, 200}, {0, 200}}; }

std::string FaultOf(const std::vector<SitePoint>& boundary) {
    return ToUtf8(BoundaryShapeFault(boundary));
}

TEST(BoundaryShapeFault, NoBoundaryIsFine) { EXPECT_EQ(FaultOf({}), ""); }

TEST(BoundaryShapeFault, ASimplePolygonInEitherTurningSenseIsFine) {
    std::vector<SitePoint> boundary = Square();
    EXPECT_EQ(FaultOf(boundary), "");
    std::reverse(boundary.begin(), boundary.end());
    EXPECT_EQ(FaultOf(boundary), "");
    EXPECT_EQ(FaultOf({{0, 0}, {10, 0}, {0, 10}}), "");
}

TEST(BoundaryShapeFault, AClosingVertexEqualToTheFirstIsAccepted) {
    std::vector<SitePoint> boundary = Square();
    boundary.push_back(boundary.front());
    EXPECT_EQ(FaultOf(boundary), "");
}

TEST(BoundaryShapeFault, AConcaveOutlineWithAStraightVertexIsFine) {
    EXPECT_EQ(FaultOf({{0, 0}, {150, 0}, {300, 0}, {300, 200}, {150, 100}, {0, 200}}), "");
}

TEST(BoundaryShapeFault, AnOutlineThatCrossesItselfIsRefused) {
    const std::string fault = FaultOf({{0, 0}, {300, 200}, {300, 0}, {0, 200}});
    EXPECT_NE(fault.find("相交"), std::string::npos) << fault;
}

TEST(BoundaryShapeFault, AnOutlineThatTouchesItselfIsRefused) {
    // Two triangles meeting at (10, 10).
    EXPECT_NE(FaultOf({{0, 0}, {10, 10}, {20, 0}, {20, 20}, {10, 10}, {0, 20}}), "");
    // A spike: out along an edge and back.
    EXPECT_NE(FaultOf({{0, 0}, {10, 0}, {20, 0}, {10, 0}, {10, 10}}), "");
    // A vertex on another edge.
    EXPECT_NE(FaultOf({{0, 0}, {20, 0}, {20, 20}, {10, 0}, {0, 20}}), "");
}

TEST(BoundaryShapeFault, TooFewVerticesOrNoAreaAreRefused) {
    EXPECT_NE(FaultOf({{0, 0}, {1, 1}}).find("至少要有 3 个"), std::string::npos);
    EXPECT_NE(FaultOf({{0, 0}, {1, 1}, {0, 0}}).find("至少要有 3 个"), std::string::npos);
    EXPECT_NE(FaultOf({{0, 0}, {1, 1}, {2, 2}}), "");
}

TEST(BoundaryShapeFault, RepeatedOrUnusableVerticesAreRefused) {
    EXPECT_EQ(FaultOf({{0, 0}, {10, 0}, {10, 0}, {10, 10}}), "厂界第 2 个和第 3 个顶点重合");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(FaultOf({{0, 0}, {10, nan}, {10, 10}}).find("第 2 个顶点"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::project
