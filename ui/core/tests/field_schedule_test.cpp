// The live field's schedule fed edits and times: the pause in typing, one
// computation at a time, and stale results dropped.

#include "ui/core/field_schedule.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using Clock = FieldSchedule::Clock;

const Clock::time_point t0{};

TEST(FieldScheduleTest, StartsOnceTypingHasPausedAndEachEditPostponesIt) {
    FieldSchedule schedule(milliseconds(300));
    EXPECT_FALSE(schedule.Start(t0));  // nothing edited yet
    EXPECT_FALSE(schedule.Due());

    EXPECT_EQ(schedule.Edit(t0), 1u);
    EXPECT_TRUE(schedule.Busy());
    EXPECT_EQ(schedule.Due(), t0 + milliseconds(300));
    EXPECT_FALSE(schedule.Start(t0 + milliseconds(299)));

    EXPECT_EQ(schedule.Edit(t0 + milliseconds(200)), 2u);  // typing goes on
    EXPECT_FALSE(schedule.Start(t0 + milliseconds(400)));
    EXPECT_EQ(schedule.Start(t0 + milliseconds(500)), 2u);  // only the latest is computed
    EXPECT_TRUE(schedule.Running());
    EXPECT_FALSE(schedule.Start(t0 + milliseconds(600)));  // it starts once

    EXPECT_TRUE(schedule.Finish(2));
    EXPECT_FALSE(schedule.Busy());
    EXPECT_FALSE(schedule.Running());
    EXPECT_FALSE(schedule.Due());
}

TEST(FieldScheduleTest, AnEditDuringAComputationMakesItStaleAndWaitsForIt) {
    FieldSchedule schedule(milliseconds(300));
    schedule.Edit(t0);
    ASSERT_EQ(schedule.Start(t0 + milliseconds(300)), 1u);

    schedule.Edit(t0 + milliseconds(400));
    EXPECT_FALSE(schedule.IsCurrent(1));
    EXPECT_TRUE(schedule.Busy());
    // One computation at a time: the next waits for the stale one to end,
    // even once its own pause is over.
    EXPECT_FALSE(schedule.Due());
    EXPECT_FALSE(schedule.Start(t0 + milliseconds(900)));

    EXPECT_FALSE(schedule.Finish(1));  // its result is dropped
    EXPECT_EQ(schedule.Due(), t0 + milliseconds(700));
    EXPECT_EQ(schedule.Start(t0 + milliseconds(900)), 2u);
    EXPECT_TRUE(schedule.Finish(2));
}

TEST(FieldScheduleTest, AProjectThatCannotBeComputedWaitsForNothing) {
    FieldSchedule schedule(milliseconds(300));
    schedule.Edit(t0);
    ASSERT_EQ(schedule.Start(t0 + milliseconds(300)), 1u);
    schedule.Edit(t0 + milliseconds(350), false);  // a cell that cannot be used
    EXPECT_FALSE(schedule.Busy());
    EXPECT_FALSE(schedule.Finish(1));  // the running one is stale all the same
    EXPECT_FALSE(schedule.Start(t0 + milliseconds(2000)));
    EXPECT_FALSE(schedule.Due());

    schedule.Edit(t0 + milliseconds(3000));  // corrected
    EXPECT_EQ(schedule.Start(t0 + milliseconds(3300)), 3u);
}

TEST(FieldScheduleTest, NoPauseStartsAtOnce) {
    FieldSchedule schedule(milliseconds(0));
    schedule.Edit(t0);
    EXPECT_EQ(schedule.Start(t0), 1u);
}

}  // namespace
}  // namespace quorvel
