#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "PingTask.h"
#include "PingTaskContainer.h"
#include "Utility.h"
#include "muduo/net/EventLoop.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/NetNamespace.h"

namespace
{
class PingTaskContainerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pings_.setSuccessCallback([this](int port, bool periodic) { successes_.emplace_back(port, periodic); });
        pings_.setFailCallback([this](int port, int action) { actions_.emplace_back(port, action); });
    }
    // A task that never probes, for driving the container's handlers.
    std::shared_ptr<PingTask> idleTask(int port, int action, bool periodic)
    {
        return std::make_shared<PingTask>(&loop_, port, "127.0.0.1", periodic ? 1 : 0, 0, action, periodic);
    }

    muduo::net::EventLoop loop_;
    PingTaskContainer pings_{&loop_, 3};
    std::vector<std::pair<int, bool>> successes_;
    std::vector<std::pair<int, int>> actions_;
};
}

TEST(PingTaskTest, SettingsThatCannotRunGiveAnInvalidTask)
{
    muduo::net::EventLoop loop;
    EXPECT_FALSE(PingTask(&loop, 0, "127.0.0.1", 5, 0, 1, true).valid());   // no time-out
    EXPECT_FALSE(PingTask(&loop, 0, "127.0.0.1", 0, 3, 1, true).valid());   // periodic without interval
    EXPECT_FALSE(PingTask(&loop, 0, "127.0.0.1", 5, 3, 1, false).valid());  // one-shot with interval
    test::LogCapture log;
    auto bad = std::make_shared<PingTask>(&loop, 0, "host.example", 5, 3, 1, true);
    EXPECT_FALSE(bad->valid());
    EXPECT_TRUE(log.contains("bad address:host.example"));
    bad->start();
    EXPECT_EQ(PingTask::kIdle, bad->state());
    EXPECT_TRUE(PingTask(&loop, 0, "127.0.0.1", 0, 3, 1, false).valid());
}

TEST_F(PingTaskContainerTest, FailuresAreCountedPerOutletAgainstTheThreshold)
{
    auto task = idleTask(2, 5, true);
    pings_.addPingTask(task);
    pings_.onPingTaskFail(task);
    pings_.onPingTaskFail(task);
    pings_.onPingTaskSuccess(task);
    EXPECT_EQ(0, pings_.failCount(2));
    EXPECT_TRUE(actions_.empty());
    EXPECT_EQ((std::vector<std::pair<int, bool>>{{2, true}}), successes_);

    for (int i = 0; i < 6; ++i)
        pings_.onPingTaskFail(task);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 5}, {2, 5}}), actions_);
    EXPECT_EQ(0, pings_.failCount(2));

    // A replacement starts from zero, and the old task no longer counts.
    pings_.onPingTaskFail(task);
    auto next = idleTask(2, 1, true);
    pings_.addPingTask(next);
    EXPECT_EQ(0, pings_.failCount(2));
    for (int i = 0; i < 3; ++i)
        pings_.onPingTaskFail(task);
    EXPECT_EQ(0, pings_.failCount(2));
    EXPECT_EQ(2u, actions_.size());
}

TEST_F(PingTaskContainerTest, OneShotFailuresAreNeitherCountedNorReported)
{
    auto task = idleTask(1, 0, false);
    pings_.addPingTask(task);
    for (int i = 0; i < 4; ++i)
        pings_.onPingTaskFail(task);
    EXPECT_EQ(0, pings_.failCount(1));
    EXPECT_TRUE(actions_.empty());
}

TEST_F(PingTaskContainerTest, OutletsOutsideTheTableAreRefused)
{
    test::LogCapture log;
    pings_.addPingTask(idleTask(8, 0, true));
    pings_.addPingTask(idleTask(-1, 0, true));
    EXPECT_EQ(nullptr, pings_.find(8));
    EXPECT_EQ(nullptr, pings_.find(-1));
    EXPECT_EQ(2, log.count("ping task refused"));
    pings_.deletePingTask(8);
}

TEST_F(PingTaskContainerTest, LoopbackAnswersPeriodicAndOneShotProbes)
{
    PingSetting s;
    s.port = 0;
    s.ip = Utility::makeIp(127, 0, 0, 1);
    s.interval = 1;
    s.timeout = 3;
    s.action = 2;
    s.enabled = 1;
    pings_.addPingTask(s, true);
    EXPECT_EQ("127.0.0.1", pings_.find(0)->address());
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return successes_.size() >= 2; }, 8.0));
    EXPECT_EQ(std::make_pair(0, true), successes_[0]);
    EXPECT_EQ(PingTask::kInterval, pings_.find(0)->state());

    pings_.addPingTask(3, "127.0.0.1", 0, 3, 0, false);
    ASSERT_TRUE(test::loopUntil(loop_, [&] {
        for (const auto& s : successes_)
            if (s.first == 3)
                return true;
        return false;
    }, 5.0));
    EXPECT_EQ(PingTask::kIdle, pings_.find(3)->state());
    EXPECT_TRUE(actions_.empty());
    pings_.deletePingTask(0);
    EXPECT_EQ(nullptr, pings_.find(0));
}

// The silent hosts live in a network namespace of the test's own: requests to
// 10.99.0.1 leave through loopback and are dropped (nobody owns the address);
// 10.98.0.1 is a blackhole route, so nothing can even be sent there.
TEST_F(PingTaskContainerTest, SilentHostTriggersTheActionAfterTheThirdFailure)
{
    RAILBOX_RUN_IN_NETNS();
    ASSERT_EQ(0, std::system("ip route add 10.99.0.0/24 dev lo && ip route add blackhole 10.98.0.1"));
    pings_.addPingTask(4, "10.98.0.1", 0, 1, 0, false);  // one-shot: reports nothing
    pings_.addPingTask(6, "10.99.0.1", 1, 1, 7, true);
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return pings_.failCount(6) == 2; }, 6.0));
    EXPECT_TRUE(actions_.empty());
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return !actions_.empty(); }, 4.0));
    EXPECT_EQ((std::vector<std::pair<int, int>>{{6, 7}}), actions_);
    EXPECT_EQ(0, pings_.failCount(6));
    EXPECT_TRUE(successes_.empty());
    EXPECT_EQ(PingTask::kIdle, pings_.find(4)->state());
}
