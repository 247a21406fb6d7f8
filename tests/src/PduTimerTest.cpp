#include "PduTimer.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "muduo/net/EventLoop.h"

using muduo::Timestamp;
using muduo::net::EventLoop;

namespace
{
double since(Timestamp start) { return timeDifference(Timestamp::now(true), start); }

void runFor(EventLoop& loop, double seconds)
{
    loop.runAfter(seconds, [&loop] { loop.quit(); });
    loop.loop();
}

// Records the times (seconds since start) at which the timer's callback ran.
struct Recorder
{
    Timestamp start = Timestamp::now(true);
    std::vector<double> times;
    PduTimerCallback callback()
    {
        return [this](const std::shared_ptr<PduTimer>&) { times.push_back(since(start)); };
    }
};
}  // namespace

TEST(PduTimerTest, CallbackReceivesTheTimerItself)
{
    EventLoop loop;
    auto timer = std::make_shared<PduTimer>(&loop, 7);
    EXPECT_EQ(timer->getId(), 7);
    std::shared_ptr<PduTimer> seen;
    timer->setTimerCallback([&seen](const std::shared_ptr<PduTimer>& t) { seen = t; });
    timer->runAfter(0.01);
    runFor(loop, 0.1);
    EXPECT_EQ(seen, timer);
}

TEST(PduTimerTest, CancelWhenIdleOrAfterFiringDoesNothing)
{
    EventLoop loop;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->cancel();  // nothing armed yet
    Recorder rec;
    timer->setTimerCallback(rec.callback());
    timer->runAfter(0.0);
    runFor(loop, 0.05);
    timer->cancel();
    runFor(loop, 0.02);
    EXPECT_EQ(rec.times.size(), 1u);
}

TEST(PduTimerTest, ExpirationIsWhenTheTimerArmedLastFires)
{
    EventLoop loop;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    EXPECT_FALSE(timer->expiration().valid());
    const Timestamp start = Timestamp::now(true);
    timer->runAfter(7200);
    EXPECT_NEAR(7200, timeDifference(timer->expiration(), start), 1);
    timer->cancel();
    EXPECT_FALSE(timer->expiration().valid());
    timer->runEvery(0.05);
    EXPECT_NEAR(0.05, timeDifference(timer->expiration(), start), 1);
    timer->cancel();
    const Timestamp wall = muduo::addTime(Timestamp::now(false), 30);
    timer->runAt(wall);
    EXPECT_EQ(wall, timer->expiration());
    timer->cancel();
    timer->runAfter(0.01);
    runFor(loop, 0.1);
    EXPECT_FALSE(timer->expiration().valid()) << "fired";
}

TEST(PduTimerTest, NonPositiveDelayOrPeriodFiresOnceAtOnce)
{
    EventLoop loop;
    Recorder afterRec, everyRec;
    auto after = std::make_shared<PduTimer>(&loop, 1);
    after->setTimerCallback(afterRec.callback());
    after->runAfter(-3.0);
    auto every = std::make_shared<PduTimer>(&loop, 2);
    every->setTimerCallback(everyRec.callback());
    every->runEvery(0.0);
    runFor(loop, 0.15);
    ASSERT_EQ(afterRec.times.size(), 1u);
    EXPECT_LT(afterRec.times[0], 0.1);
    ASSERT_EQ(everyRec.times.size(), 1u);
    EXPECT_LT(everyRec.times[0], 0.1);
}

TEST(PduTimerTest, SecondArmingBeforeTheFirstFiresRunsOnce)
{
    // Scaled from 1.0 s / 0.5 s: the first timer fires first and removes the second.
    EventLoop loop;
    Recorder rec;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->setTimerCallback(rec.callback());
    timer->runAfter(0.4);
    loop.runAfter(0.2, [&] { timer->runAfter(0.4); });
    runFor(loop, 0.9);
    ASSERT_EQ(rec.times.size(), 1u);
    EXPECT_GE(rec.times[0], 0.4);
    EXPECT_LT(rec.times[0], 0.58);
}

TEST(PduTimerTest, ShorterSecondArmingRunsTwice)
{
    // Scaled from 5.0 s then 1.0 s: after the short one and again after the long one.
    EventLoop loop;
    Recorder rec;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->setTimerCallback(rec.callback());
    timer->runAfter(0.5);
    timer->runAfter(0.1);
    runFor(loop, 0.8);
    ASSERT_EQ(rec.times.size(), 2u);
    EXPECT_GE(rec.times[0], 0.1);
    EXPECT_LT(rec.times[0], 0.45);
    EXPECT_GE(rec.times[1], 0.5);
}

TEST(PduTimerTest, ReArmingFromTheCallbackSurvives)
{
    EventLoop loop;
    int count = 0;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->setTimerCallback([&count](const std::shared_ptr<PduTimer>& t) {
        if (++count < 3)
            t->runAfter(0.01);
        else
            t->runEvery(0.01);  // a periodic re-arm survives too
    });
    timer->runAfter(0.01);
    runFor(loop, 0.15);
    EXPECT_GE(count, 5);
    timer->cancel();
}

TEST(PduTimerTest, PeriodicStopsWhenCancelledFromItsCallback)
{
    EventLoop loop;
    Recorder rec;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->setTimerCallback([&rec](const std::shared_ptr<PduTimer>& t) {
        rec.times.push_back(since(rec.start));
        if (rec.times.size() == 3)
            t->cancel();
    });
    timer->runEvery(0.03);
    runFor(loop, 0.3);
    ASSERT_EQ(rec.times.size(), 3u);
    EXPECT_GE(rec.times[0], 0.03);  // the first firing is one period after arming
}

TEST(PduTimerTest, PeriodicArmedTwiceKeepsBothAndCancelReachesTheLast)
{
    EventLoop loop;
    int count = 0;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->setTimerCallback([&count](const std::shared_ptr<PduTimer>&) { ++count; });
    timer->runEvery(0.02);
    timer->runEvery(0.02);
    loop.runAfter(0.11, [&] { timer->cancel(); });
    runFor(loop, 0.2);
    int afterCancel = count;
    runFor(loop, 0.1);
    EXPECT_GT(count, afterCancel);  // the first periodic timer is still running
}

TEST(PduTimerTest, RunAtFiresAtTheWallClockTime)
{
    EventLoop loop;
    Recorder rec;
    auto timer = std::make_shared<PduTimer>(&loop, 0);
    timer->setTimerCallback(rec.callback());
    timer->runAt(addTime(Timestamp::now(false), 0.1));
    auto past = std::make_shared<PduTimer>(&loop, 1);
    Recorder pastRec;
    past->setTimerCallback(pastRec.callback());
    past->runAt(addTime(Timestamp::now(false), -60.0));
    runFor(loop, 0.3);
    ASSERT_EQ(rec.times.size(), 1u);
    EXPECT_GE(rec.times[0], 0.09);
    ASSERT_EQ(pastRec.times.size(), 1u);
    EXPECT_LT(pastRec.times[0], 0.08);
}

TEST(PduTimerTest, EmptyCallbackAndReleasedTimerAreHarmless)
{
    EventLoop loop;
    auto silent = std::make_shared<PduTimer>(&loop, 0);
    silent->runAfter(0.0);
    silent->runEvery(0.01);
    auto dropped = std::make_shared<PduTimer>(&loop, 1);
    int count = 0;
    dropped->setTimerCallback([&count](const std::shared_ptr<PduTimer>&) { ++count; });
    dropped->runAfter(0.01);
    dropped.reset();  // released while armed, by mistake
    runFor(loop, 0.1);
    EXPECT_EQ(count, 0);
    silent->cancel();
}
