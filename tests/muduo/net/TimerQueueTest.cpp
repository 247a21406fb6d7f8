#include "muduo/net/TimerQueue.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <vector>

#include "LoopThread.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/Timer.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

using muduo::Timestamp;
using muduo::net::EventLoop;
using muduo::net::TimerId;

namespace
{
double since(Timestamp start) { return timeDifference(Timestamp::now(true), start); }

// Quits the loop after `seconds`, so a broken timer cannot hang the test.
void runFor(EventLoop& loop, double seconds)
{
    loop.runAfter(seconds, [&loop] { loop.quit(); });
    loop.loop();
}
}  // namespace

TEST(TimerQueueTest, SequencesAreUniqueAndHandlesCarryTheirClock)
{
    EventLoop loop;
    int64_t before = muduo::net::Timer::numCreated();
    TimerId a = loop.runAfter(10, [] {});
    TimerId b = loop.runAt(addTime(Timestamp::now(), 10), [] {});
    EXPECT_EQ(a.sequence(), before + 1);
    EXPECT_EQ(b.sequence(), before + 2);
    EXPECT_TRUE(a.monotonic());
    EXPECT_FALSE(b.monotonic());
    TimerId none;
    EXPECT_EQ(none.timer(), nullptr);
    EXPECT_EQ(none.sequence(), 0);
    EXPECT_TRUE(none.monotonic());
    loop.cancel(none);  // no timer: nothing happens
    loop.cancel(a);
    loop.cancel(b);
}

TEST(TimerQueueTest, NegativeDelayAndZeroPeriodFireOnceAtOnce)
{
    EventLoop loop;
    Timestamp start = Timestamp::now(true);
    double negativeAt = -1, zeroAt = -1;
    int everyZero = 0, everyNegative = 0;
    loop.runAfter(-5.0, [&] { negativeAt = since(start); });
    loop.runAfter(0.0, [&] { zeroAt = since(start); });
    loop.runEvery(0.0, [&] { ++everyZero; });
    loop.runEvery(-1.0, [&] { ++everyNegative; });
    runFor(loop, 0.15);
    EXPECT_GE(negativeAt, 0.0);
    EXPECT_LT(negativeAt, 0.1);
    EXPECT_GE(zeroAt, 0.0);
    EXPECT_LT(zeroAt, 0.1);
    EXPECT_EQ(everyZero, 1);
    EXPECT_EQ(everyNegative, 1);
}

TEST(TimerQueueTest, PeriodicTimerCancelledFromItsCallbackStops)
{
    EventLoop loop;
    int count = 0;
    TimerId id;
    id = loop.runEvery(0.01, [&] {
        if (++count == 3)
            loop.cancel(id);
    });
    runFor(loop, 0.2);
    EXPECT_EQ(count, 3);
}

TEST(TimerQueueTest, CancellingAFiredOrOwnOneShotIsHarmless)
{
    EventLoop loop;
    int count = 0;
    TimerId self;
    self = loop.runAfter(0.01, [&] {
        ++count;
        loop.cancel(self);
    });
    TimerId fired = loop.runAfter(0.0, [&] { ++count; });
    loop.runAfter(0.05, [&] { loop.cancel(fired); });
    runFor(loop, 0.1);
    EXPECT_EQ(count, 2);
}

TEST(TimerQueueTest, CancelBeforeFiringRemovesTheTimer)
{
    LoopThread thread;
    std::atomic<int> count{0};
    TimerId id = thread.loop()->runAfter(0.05, [&] { ++count; });
    thread.loop()->cancel(id);  // from another thread
    std::promise<void> later;
    thread.loop()->runAfter(0.15, [&] { later.set_value(); });
    ASSERT_EQ(later.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(count, 0);
}

TEST(TimerQueueTest, EqualExpirationsFireInOnePass)
{
    EventLoop loop;
    Timestamp when = addTime(Timestamp::now(false), 0.05);
    std::vector<int64_t> passes;
    loop.runAt(when, [&] { passes.push_back(loop.iteration()); });
    loop.runAt(when, [&] { passes.push_back(loop.iteration()); });
    runFor(loop, 0.2);
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(passes[0], passes[1]);
}

TEST(TimerQueueTest, TimerCancelledEarlierInTheSamePassDoesNotRun)
{
    EventLoop loop;
    Timestamp when = addTime(Timestamp::now(false), 0.03);
    int count = 0;
    TimerId a, b;
    a = loop.runAt(when, [&] {
        ++count;
        loop.cancel(b);
    });
    b = loop.runAt(when, [&] {
        ++count;
        loop.cancel(a);
    });
    runFor(loop, 0.15);
    EXPECT_EQ(count, 1);
}

TEST(TimerQueueTest, StaleHandleDoesNotCancelANewTimerAtTheSameAddress)
{
    EventLoop loop;
    int count = 0;
    TimerId first = loop.runAfter(0.0, [&] { ++count; });
    runFor(loop, 0.03);
    ASSERT_EQ(count, 1);
    TimerId second = loop.runAfter(0.03, [&] { ++count; });
    // Whether or not the allocator reused the memory, the old sequence must not match.
    loop.cancel(first);
    loop.cancel(TimerId(second.timer(), first.sequence(), true));
    runFor(loop, 0.1);
    EXPECT_EQ(count, 2);
}

TEST(TimerQueueTest, RunAtInThePastFiresAtOnce)
{
    EventLoop loop;
    Timestamp start = Timestamp::now(true);
    double pastAt = -1, epochAt = -1;
    loop.runAt(addTime(Timestamp::now(false), -10.0), [&] { pastAt = since(start); });
    loop.runAt(Timestamp(1), [&] { epochAt = since(start); });
    runFor(loop, 0.15);
    EXPECT_GE(pastAt, 0.0);
    EXPECT_LT(pastAt, 0.1);
    EXPECT_GE(epochAt, 0.0);
    EXPECT_LT(epochAt, 0.1);
}

TEST(TimerQueueTest, PeriodicTimerFiresRepeatedlyFromEachHandling)
{
    EventLoop loop;
    Timestamp start = Timestamp::now(true);
    std::vector<double> times;
    loop.runEvery(0.03, [&] { times.push_back(since(start)); });
    runFor(loop, 0.2);
    ASSERT_GE(times.size(), 3u);
    EXPECT_GE(times[0], 0.03);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i] - times[i - 1], 0.029);
}

namespace
{
void restoreHostClock() { board::setWallClock(board::wallClockMicros() - board::wallClockOffsetMicros()); }

struct HostClockRestorer
{
    ~HostClockRestorer() { restoreHostClock(); }
};
}

// A clock change moves a time-of-day timer but not a delay.
TEST(TimerQueueTest, BackShiftDelaysTimeOfDayTimerButNotADelay)
{
    ASSERT_TRUE(board::simulated());  // only the daemon's own offset may move
    HostClockRestorer restorer;
    EventLoop loop;
    Timestamp start = Timestamp::now(true);
    double wallAt = -1, delayAt = -1;
    loop.runAt(addTime(Timestamp::now(false), 0.3), [&] { wallAt = since(start); });
    loop.runAfter(0.3, [&] { delayAt = since(start); });
    loop.runAfter(0.05, [&] { board::setWallClock(board::wallClockMicros() - 400000); });
    runFor(loop, 1.0);
    restoreHostClock();
    EXPECT_NEAR(board::wallClockOffsetMicros(), 0, 1000);
    EXPECT_GE(delayAt, 0.3);
    EXPECT_LT(delayAt, 0.6);
    EXPECT_GE(wallAt, 0.65);
}

TEST(TimerQueueTest, ForwardShiftFiresTimeOfDayTimerEarly)
{
    ASSERT_TRUE(board::simulated());
    HostClockRestorer restorer;
    EventLoop loop;
    Timestamp start = Timestamp::now(true);
    double wallAt = -1, delayAt = -1;
    loop.runAt(addTime(Timestamp::now(false), 0.8), [&] { wallAt = since(start); });
    loop.runAfter(0.8, [&] { delayAt = since(start); });
    loop.runAfter(0.05, [&] { board::setWallClock(board::wallClockMicros() + 600000); });
    runFor(loop, 1.1);
    restoreHostClock();
    // The host's own clock may be stepped by a millisecond or so under it
    // (a virtual machine's time sync): early by that is still on time.
    EXPECT_GE(wallAt, 0.19);
    EXPECT_LT(wallAt, 0.6);
    EXPECT_GE(delayAt, 0.8);
}
