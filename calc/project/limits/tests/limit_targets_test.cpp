#include "calc/project/limits/limit_targets.h"

#include <gtest/gtest.h>

namespace quorvel::project {
namespace {

Project Plant() {
    Project project;
    project.boundary = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    Source inside;
    inside.id = "S1";
    inside.centre = {100, 80};
    Source outside;
    outside.id = "S2";
    outside.centre = {400, 80};
    project.sources = {inside, outside};
    project.receptors = {Receptor{"厂内宿舍", {150, 100}, {}}, Receptor{"王家村", {100, 480}, {}},
                         Receptor{"李庄", {700, 80}, {}}};
    return project;
}

std::vector<ReceptorResult> Checked(bool dormitoryInPlant) {
    std::vector<ReceptorResult> receptors(3);
    receptors[0].inPlant = dormitoryInPlant;
    return receptors;
}

TEST(TargetsOf, TheFenceTheNearestReceptorOutsideThePlantAndTheTargetDistance) {
    Project project = Plant();
    project.targetDistance = 250;
    const auto targets = TargetsOf(project, project.sources[0], Checked(true));
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0].kind, TargetKind::Boundary);
    EXPECT_NEAR(targets[0].distance, 80.0, 1e-6);
    EXPECT_FALSE(targets[0].strict);
    EXPECT_EQ(targets[1].kind, TargetKind::Receptors);
    EXPECT_NEAR(targets[1].distance, 400.0, 1e-9);  // the dormitory in the plant does not count
    EXPECT_TRUE(targets[1].strict);
    EXPECT_EQ(targets[2].kind, TargetKind::Distance);
    EXPECT_EQ(targets[2].distance, 250.0);
}

TEST(TargetsOf, ASourceOutsideThePlantHasNoBoundaryTargetAndNoReceptorsNone) {
    Project project = Plant();
    const auto outside = TargetsOf(project, project.sources[1], Checked(true));
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_EQ(outside[0].kind, TargetKind::Receptors);
    EXPECT_NEAR(outside[0].distance, 300.0, 1e-9);
    project.receptors.clear();
    EXPECT_TRUE(TargetsOf(project, project.sources[1], {}).empty());
}

TEST(MeetsTarget, NoneMeetsEveryTargetAndBeyondNone) {
    const Target fence{TargetKind::Boundary, 150, false};
    const Target village{TargetKind::Receptors, 150, true};
    EXPECT_TRUE(MeetsTarget(EmissionOutcome::None, std::nullopt, village));
    EXPECT_FALSE(MeetsTarget(EmissionOutcome::Beyond, std::nullopt, fence));
    EXPECT_FALSE(MeetsTarget(EmissionOutcome::Error, std::nullopt, fence));
    EXPECT_TRUE(MeetsTarget(EmissionOutcome::Distance, 150.0, fence));  // touching is allowed
    EXPECT_FALSE(MeetsTarget(EmissionOutcome::Distance, 150.0, village));
    EXPECT_TRUE(MeetsTarget(EmissionOutcome::Distance, 149.0, village));
}

}  // namespace
}  // namespace quorvel::project
