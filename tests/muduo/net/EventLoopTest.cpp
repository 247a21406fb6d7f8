#include "muduo/net/EventLoop.h"

#include <atomic>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "LoopThread.h"
#include "muduo/base/CurrentThread.h"

using muduo::net::EventLoop;

TEST(EventLoopTest, RunInLoopAndQueueInLoopFromAnotherThread)
{
    LoopThread thread;
    EventLoop* loop = thread.loop();
    EXPECT_FALSE(loop->isInLoopThread());

    std::promise<int> ranOn;
    loop->runInLoop([&ranOn] { ranOn.set_value(muduo::CurrentThread::tid()); });
    int loopTid = ranOn.get_future().get();
    EXPECT_NE(loopTid, muduo::CurrentThread::tid());

    // Functors keep their order; one queued from a pending functor still runs
    // without waiting for the 10 s poll time-out.
    std::vector<int> order;
    std::promise<void> done;
    for (int i = 0; i < 3; ++i)
        loop->queueInLoop([&order, i] { order.push_back(i); });
    loop->queueInLoop([&, loop] {
        loop->queueInLoop([&] {
            order.push_back(3);
            done.set_value();
        });
    });
    ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
}

TEST(EventLoopTest, RunInLoopOnTheLoopThreadRunsAtOnce)
{
    EventLoop loop;
    EXPECT_EQ(EventLoop::getEventLoopOfCurrentThread(), &loop);
    bool ran = false;
    loop.runInLoop([&ran] { ran = true; });
    EXPECT_TRUE(ran);
    loop.queueInLoop([&loop] { loop.quit(); });
    EXPECT_EQ(loop.queueSize(), 1u);
    loop.loop();
    EXPECT_EQ(loop.queueSize(), 0u);
    EXPECT_GE(loop.iteration(), 1);
    EXPECT_TRUE(loop.pollReturnTime().valid());
}

TEST(EventLoopTest, QuitFromAnotherThread)
{
    EventLoop loop;
    std::thread other([&loop] {
        muduo::CurrentThread::sleepUsec(50 * 1000);
        loop.quit();
    });
    muduo::Timestamp start = muduo::Timestamp::now(true);
    loop.loop();
    other.join();
    EXPECT_LT(timeDifference(muduo::Timestamp::now(true), start), 5.0);
}

TEST(EventLoopDeathTest, AssertInLoopThreadAbortsOffThread)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(
        {
            EventLoop loop;
            std::thread other([&loop] { loop.assertInLoopThread(); });
            other.join();
        },
        "");
}

TEST(EventLoopTest, PollVariantRunsTimersAndFunctors)
{
    ::setenv("MUDUO_USE_POLL", "1", 1);
    {
        EventLoop loop;
        int fired = 0;
        loop.runAfter(0.01, [&] { ++fired; });
        loop.runAfter(0.03, [&] {
            ++fired;
            loop.quit();
        });
        loop.loop();
        EXPECT_EQ(fired, 2);
    }
    ::unsetenv("MUDUO_USE_POLL");
}
