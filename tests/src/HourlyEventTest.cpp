#include "HourlyEvent.h"

#include <gtest/gtest.h>

#include <vector>

#include "muduo/net/EventLoop.h"
#include "platform/core/BoardClock.h"
#include "support/ClockShift.h"
#include "support/LoopUntil.h"

namespace
{
class HourlyEventTest : public ::testing::Test
{
protected:
    HourlyEventTest() : event(&loop)
    {
        event.setCallback([this] { firedAt.push_back(board::wallClockMicros()); });
    }

    muduo::net::EventLoop loop;
    test::ClockShift clock;
    HourlyEvent event;
    std::vector<int64_t> firedAt;
};
}

TEST_F(HourlyEventTest, FiresAtTheNextFullHourAndRearms)
{
    clock.setLocal(2026, 6, 15, 10, 59, 59, 200000);
    const int64_t eleven = static_cast<int64_t>(test::ClockShift::localSeconds(2026, 6, 15, 11, 0, 0)) * 1000000;
    event.start();
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !firedAt.empty(); }, 5.0));
    EXPECT_GE(firedAt[0], eleven - 20000);
    EXPECT_LT(firedAt[0], eleven + 1000000);
    // Armed again for 12:00, not at once.
    test::loopUntil(loop, [] { return false; }, 0.3);
    EXPECT_EQ(1u, firedAt.size());
}

TEST_F(HourlyEventTest, FollowsAClockChange)
{
    clock.setLocal(2026, 6, 15, 10, 20, 0);
    event.start();
    test::loopUntil(loop, [] { return false; }, 0.1);
    EXPECT_TRUE(firedAt.empty());
    // The wall-clock timer meets the full hour of the new clock.
    clock.setLocal(2026, 6, 15, 10, 59, 59, 500000);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !firedAt.empty(); }, 5.0));
    EXPECT_EQ(1u, firedAt.size());
}

TEST_F(HourlyEventTest, CancelAndRestartArmOnlyOnce)
{
    clock.setLocal(2026, 6, 15, 10, 59, 59, 600000);
    event.start();
    event.start();  // re-arming cancels the first timer
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !firedAt.empty(); }, 5.0));
    test::loopUntil(loop, [] { return false; }, 0.3);
    EXPECT_EQ(1u, firedAt.size());

    clock.setLocal(2026, 6, 15, 11, 59, 59, 700000);
    event.cancel();
    test::loopUntil(loop, [] { return false; }, 0.8);
    EXPECT_EQ(1u, firedAt.size());
}
