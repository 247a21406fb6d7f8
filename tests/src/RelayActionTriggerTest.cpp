#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "PduTimer.h"
#include "RelayActionTrigger.h"
#include "muduo/net/EventLoop.h"
#include "support/LoopUntil.h"

namespace
{
struct Fired
{
    int port;
    int action;
    double at;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}

TEST(RelayActionTriggerTest, ActionsForOnePortAllFireAtTheirOwnTimes)
{
    muduo::net::EventLoop loop;
    RelayActionTrigger trigger(&loop);
    std::vector<Fired> fired;
    auto start = std::chrono::steady_clock::now();
    trigger.setRelayActionCallback(
        [&](int port, int action) { fired.push_back({port, action, secondsSince(start)}); });
    trigger.startRelayActionAfter(3, 1, 2);
    trigger.startRelayActionAfter(3, 0, 1);
    EXPECT_EQ(2u, trigger.pendingActions());
    ASSERT_TRUE(test::loopUntil(loop, [&] { return fired.size() == 2; }, 10.0));
    EXPECT_EQ(3, fired[0].port);
    EXPECT_EQ(0, fired[0].action);
    EXPECT_EQ(3, fired[1].port);
    EXPECT_EQ(1, fired[1].action);
    EXPECT_GE(fired[0].at, 0.95);
    EXPECT_GE(fired[1].at, 1.95);
    EXPECT_LT(fired[1].at, 5.0);
    EXPECT_EQ(0u, trigger.pendingActions());
}

TEST(RelayActionTriggerTest, ZeroDelayFiresOnTheNextLoopTurnNotInsideTheCall)
{
    muduo::net::EventLoop loop;
    RelayActionTrigger trigger(&loop);
    std::vector<std::pair<int, int>> fired;
    trigger.setRelayActionCallback([&](int port, int action) { fired.push_back({port, action}); });
    trigger.startRelayActionAfter(5, 128, 0);
    EXPECT_TRUE(fired.empty());
    ASSERT_TRUE(test::loopUntil(loop, [&] { return !fired.empty(); }, 5.0));
    EXPECT_EQ(std::make_pair(5, 128), fired[0]);
}

TEST(RelayActionTriggerTest, TimerIdsAreUniqueAcrossTriggers)
{
    muduo::net::EventLoop loop;
    RelayActionTrigger a(&loop);
    RelayActionTrigger b(&loop);
    int first = a.startRelayAction(0, 1)->getId();
    int second = b.startRelayAction(0, 1)->getId();
    int third = a.startRelayAction(1, 0)->getId();
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
    EXPECT_NE(first, third);
}

TEST(RelayActionTriggerTest, DestroyingWithPendingActionsCallsNothing)
{
    muduo::net::EventLoop loop;
    int calls = 0;
    {
        RelayActionTrigger trigger(&loop);
        trigger.setRelayActionCallback([&](int, int) { ++calls; });
        trigger.startRelayActionAfter(1, 1, 0);
        trigger.startRelayActionAfter(2, 0, 0);
    }
    test::loopUntil(loop, [] { return false; }, 0.3);
    EXPECT_EQ(0, calls);
}
