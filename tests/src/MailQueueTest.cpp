// The mail program's pacing: one child at a time, bounded waiting places kept apart for alarms and test mails,
// children reaped, each hung one killed at the time limit.
#include "MailQueue.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "muduo/net/EventLoop.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"

namespace
{
class MailQueueTest : public ::testing::Test
{
protected:
    // A starter whose child sleeps; it notes its name and whether an earlier child still ran.
    MailQueue::Starter mail(const std::string& name, const char* seconds = "0.1")
    {
        return [this, name, seconds] {
            for (pid_t earlier : children)
                overlapped |= ::kill(earlier, 0) == 0;  // a child not yet reaped still exists
            const pid_t pid = ::fork();
            if (pid == 0)
            {
                ::execl("/bin/sleep", "sleep", seconds, static_cast<char*>(nullptr));
                ::_exit(127);
            }
            started.push_back(name);
            startedAt.push_back(muduo::Timestamp::now(true));
            children.push_back(pid);
            return pid;
        };
    }
    // A child that a failed test leaves running is ended, not left behind.
    void TearDown() override
    {
        for (pid_t pid : children)
            if (::waitpid(pid, nullptr, WNOHANG) == 0)
            {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
    }
    bool idle(MailQueue& queue, double seconds = 10)
    {
        return test::loopUntil(loop, [&] { return !queue.running() && queue.waiting() == 0; }, seconds);
    }
    bool allReaped() const
    {
        for (pid_t pid : children)
            if (::waitpid(pid, nullptr, WNOHANG) != -1 || errno != ECHILD)
                return false;
        return true;
    }

    muduo::net::EventLoop loop;
    std::vector<std::string> started;
    std::vector<muduo::Timestamp> startedAt;
    std::vector<pid_t> children;
    bool overlapped = false;
};
}

TEST_F(MailQueueTest, OneChildAtATimeAndAFloodOfTestMailsCostsNoAlarmItsPlace)
{
    MailQueue queue(3, 2, 60);
    queue.attach(&loop);
    const struct
    {
        MailQueue::Kind kind;
        const char* name;
        bool accepted;
    } submissions[] = {
        {MailQueue::kTest, "test 1", true},    {MailQueue::kTest, "test 2", true},
        {MailQueue::kTest, "test 3", true},    {MailQueue::kTest, "test 4", false},
        {MailQueue::kTest, "test 5", false},   {MailQueue::kAlarm, "alarm 1", true},
        {MailQueue::kAlarm, "alarm 2", true},  {MailQueue::kAlarm, "alarm 3", true},
        {MailQueue::kAlarm, "alarm 4", false},
    };
    for (const auto& s : submissions)
        EXPECT_EQ(s.accepted, queue.submit(s.kind, mail(s.name))) << s.name;
    EXPECT_EQ(5u, queue.waiting());
    ASSERT_TRUE(idle(queue));
    // The waiting alarms go before the waiting test mails.
    EXPECT_EQ((std::vector<std::string>{"test 1", "alarm 1", "alarm 2", "alarm 3", "test 2", "test 3"}), started);
    EXPECT_FALSE(overlapped);
    EXPECT_TRUE(allReaped());
    queue.detach();
}

TEST_F(MailQueueTest, AHungMailProgramIsKilledAfterTheTimeLimitAndTheNextOneRuns)
{
    MailQueue queue(1, 1, 0.5);
    queue.attach(&loop);
    ASSERT_TRUE(queue.submit(MailQueue::kAlarm, mail("hung", "30")));
    ASSERT_TRUE(queue.submit(MailQueue::kAlarm, mail("next")));
    ASSERT_TRUE(idle(queue, 10));
    EXPECT_EQ((std::vector<std::string>{"hung", "next"}), started);
    EXPECT_FALSE(overlapped);
    EXPECT_TRUE(allReaped());
    queue.detach();
}

TEST_F(MailQueueTest, TwoHungMailProgramsOneAfterTheOtherAreEachKilledAtTheTimeLimit)
{
    const double limit = 1.0;
    MailQueue queue(2, 1, limit);
    queue.attach(&loop);
    test::LogCapture log;
    ASSERT_TRUE(queue.submit(MailQueue::kAlarm, mail("hung 1", "600")));
    ASSERT_TRUE(queue.submit(MailQueue::kAlarm, mail("hung 2", "600")));
    ASSERT_TRUE(idle(queue, 60));
    const muduo::Timestamp idleAt = muduo::Timestamp::now(true);
    ASSERT_EQ((std::vector<std::string>{"hung 1", "hung 2"}), started);
    EXPECT_FALSE(overlapped);
    EXPECT_TRUE(allReaped());
    for (pid_t pid : children)
        EXPECT_EQ(1, log.count("mail program " + std::to_string(pid) + " still runs after")) << log.text();
    // Neither was cut short: each ran for the time limit at least.
    EXPECT_GE(timeDifference(startedAt[1], startedAt[0]), limit);
    EXPECT_GE(timeDifference(idleAt, startedAt[1]), limit);
    queue.detach();
}
