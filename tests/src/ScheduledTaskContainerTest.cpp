#include <gtest/gtest.h>

#include <ctime>
#include <tuple>
#include <vector>

#include "ScheduledTask.h"
#include "ScheduledTaskContainer.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardClock.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"

namespace
{
const int64_t kSecond = 1000000;
const int64_t kDay = 86400 * kSecond;

// Local calendar time of 15 June 2030 (a Saturday) plus some seconds.
time_t june15(int hour, int minute, int second)
{
    struct tm tm = {};
    tm.tm_year = 130;
    tm.tm_mon = 5;
    tm.tm_mday = 15;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return ::mktime(&tm);
}

int weekdayOf(time_t t)
{
    struct tm tm;
    ::localtime_r(&t, &tm);
    return tm.tm_wday;
}

_DeviceTask taskAt(int id, time_t t, uint8_t repeat)
{
    struct tm tm;
    ::localtime_r(&t, &tm);
    _DeviceTask task;
    task.id = id;
    task.ports = 0x100000003ull;
    task.action = 2;
    task.year = tm.tm_year + 1900;
    task.month = tm.tm_mon + 1;
    task.day = tm.tm_mday;
    task.hour = tm.tm_hour;
    task.minute = tm.tm_min;
    task.second = tm.tm_sec;
    task.repeat = repeat;
    return task;
}

void setClock(time_t t) { ASSERT_TRUE(board::setWallClock(static_cast<int64_t>(t) * kSecond)); }

int64_t micros(time_t t) { return static_cast<int64_t>(t) * kSecond; }

class ScheduledTaskContainerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedOffset_ = board::wallClockOffsetMicros();
        tasks_.setScheduledTaskCallback([this](int id, unsigned int ports, int action) {
            fired_.emplace_back(id, ports, action);
            firedAt_.push_back(board::wallClockMicros());
        });
    }
    void TearDown() override
    {
        board::setWallClock(board::wallClockMicros() - board::wallClockOffsetMicros() + savedOffset_);
    }
    int64_t armedAt(int id) { return tasks_.find(id)->armedAt().microSecondsSinceEpoch(); }
    bool armed(int id) { return tasks_.find(id)->armed(); }

    int64_t savedOffset_ = 0;
    muduo::net::EventLoop loop_;
    ScheduledTaskContainer tasks_{&loop_};
    std::vector<std::tuple<int, unsigned int, int>> fired_;
    std::vector<int64_t> firedAt_;
};
}

TEST_F(ScheduledTaskContainerTest, OneShotFiresOnceAtItsTimeWithTheLowPorts)
{
    time_t when = june15(12, 0, 0);
    setClock(when - 2);
    tasks_.addScheduledTask(taskAt(7, when, 0));
    tasks_.addScheduledTask(taskAt(8, when - 60, 0));  // already past
    EXPECT_FALSE(armed(7));
    EXPECT_EQ(1, tasks_.start(7));
    EXPECT_EQ(1, tasks_.start(8));
    EXPECT_TRUE(armed(7));
    EXPECT_FALSE(armed(8));
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return !fired_.empty(); }, 6.0));
    EXPECT_EQ(std::make_tuple(7, 3u, 2), fired_[0]);
    EXPECT_GE(firedAt_[0], micros(when));
    EXPECT_FALSE(armed(7));
    test::loopUntil(loop_, [] { return false; }, 0.3);
    EXPECT_EQ(1u, fired_.size());
}

TEST_F(ScheduledTaskContainerTest, WeeklyTaskFiresAndComesBackAWeekLater)
{
    time_t when = june15(12, 0, 0);
    setClock(when - 2);
    // Dated ten days back: only its weekday and time count now.
    tasks_.addScheduledTask(taskAt(3, when - 10 * 86400, static_cast<uint8_t>(1u << weekdayOf(when))));
    tasks_.start(3);
    EXPECT_EQ(micros(when), armedAt(3));
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return !fired_.empty(); }, 6.0));
    EXPECT_EQ(3, std::get<0>(fired_[0]));
    EXPECT_TRUE(armed(3));
    EXPECT_EQ(micros(when) + 7 * kDay, armedAt(3));
}

TEST_F(ScheduledTaskContainerTest, RepeatingTaskPicksTodayOrTheNextChosenWeekday)
{
    time_t now = june15(10, 0, 0);
    setClock(now);
    int today = weekdayOf(now);
    uint8_t todayAndInTwoDays = static_cast<uint8_t>((1u << today) | (1u << ((today + 2) % 7)));
    tasks_.addScheduledTask(taskAt(1, june15(11, 0, 0) - 30 * 86400, todayAndInTwoDays));
    tasks_.addScheduledTask(taskAt(2, june15(9, 0, 0) - 30 * 86400, todayAndInTwoDays));
    // A future date wins over the weekdays.
    tasks_.addScheduledTask(taskAt(4, june15(9, 0, 0) + 86400, static_cast<uint8_t>(1u << today)));
    tasks_.updateAllTask();
    EXPECT_EQ(micros(june15(11, 0, 0)), armedAt(1));
    EXPECT_EQ(micros(june15(9, 0, 0)) + 2 * kDay, armedAt(2));
    EXPECT_EQ(micros(june15(9, 0, 0)) + kDay, armedAt(4));
}

TEST_F(ScheduledTaskContainerTest, MaskWithoutWeekdayBitsActsAsNoRepeat)
{
    time_t now = june15(10, 0, 0);
    setClock(now);
    test::LogCapture log;
    tasks_.addScheduledTask(taskAt(5, now - 3600, 0x80));
    tasks_.start(5);
    EXPECT_FALSE(armed(5));
    tasks_.find(5)->next();
    EXPECT_FALSE(armed(5));
    EXPECT_EQ(2, log.count("no repeat"));
}

TEST_F(ScheduledTaskContainerTest, UpdateAllTaskRearmsAgainstTheNewClock)
{
    time_t when = june15(12, 0, 0);
    setClock(when - 3600);
    tasks_.addScheduledTask(taskAt(1, when, 0));
    tasks_.addScheduledTask(taskAt(2, when - 1800, 0));
    tasks_.start(1);
    tasks_.start(2);
    EXPECT_TRUE(armed(2));

    // Forward past task 2: it stays idle; task 1 is armed again for its time.
    setClock(when - 2);
    tasks_.updateAllTask();
    EXPECT_FALSE(armed(2));
    EXPECT_TRUE(armed(1));
    ASSERT_TRUE(test::loopUntil(loop_, [&] { return !fired_.empty(); }, 6.0));
    EXPECT_EQ(1, std::get<0>(fired_[0]));
    EXPECT_EQ(1u, fired_.size());

    // Back before both: both one-shots arm again.
    setClock(when - 7200);
    tasks_.updateAllTask();
    EXPECT_TRUE(armed(1));
    EXPECT_TRUE(armed(2));
}

TEST_F(ScheduledTaskContainerTest, ContainerKeepsFirstTaskAndEditsTakeEffectOnRestart)
{
    time_t now = june15(10, 0, 0);
    setClock(now);
    tasks_.addScheduledTask(taskAt(1, now + 600, 0));
    _DeviceTask other = taskAt(1, now + 900, 0);
    other.ports = 0xFF;
    tasks_.addScheduledTask(other);
    EXPECT_EQ(1u, tasks_.size());
    EXPECT_EQ(3u, tasks_.find(1)->ports());

    tasks_.start(1);
    tasks_.modifyScheduledTask(other);
    EXPECT_EQ(0xFFu, tasks_.find(1)->ports());
    EXPECT_EQ(micros(now + 600), armedAt(1));
    tasks_.stop(1);
    EXPECT_FALSE(armed(1));
    tasks_.start(1);
    EXPECT_EQ(micros(now + 900), armedAt(1));

    test::LogCapture log;
    EXPECT_EQ(0, tasks_.start(42));
    EXPECT_TRUE(log.contains("task id:42 not found"));
    tasks_.stop(42);
    tasks_.modifyScheduledTask(taskAt(42, now, 0));
    tasks_.deleteScheduledTask(42);
    tasks_.deleteScheduledTask(1);
    EXPECT_EQ(0u, tasks_.size());
}

TEST_F(ScheduledTaskContainerTest, DeletedTaskNeverFires)
{
    time_t when = june15(12, 0, 0);
    setClock(when - 1);
    tasks_.addScheduledTask(taskAt(9, when, 0));
    tasks_.start(9);
    tasks_.deleteScheduledTask(9);
    test::loopUntil(loop_, [] { return false; }, 1.5);
    EXPECT_TRUE(fired_.empty());
}
