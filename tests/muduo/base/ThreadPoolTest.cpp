#include <gtest/gtest.h>

#include <atomic>
#include <sys/wait.h>
#include <unistd.h>
#include <set>
#include <vector>

#include "muduo/base/Condition.h"
#include "muduo/base/CountDownLatch.h"
#include "muduo/base/CurrentThread.h"
#include "muduo/base/Thread.h"
#include "muduo/base/ThreadPool.h"
#include "muduo/base/Timestamp.h"

using muduo::CountDownLatch;
using muduo::Thread;
using muduo::ThreadPool;

TEST(ThreadTest, StartJoinAndIdentity)
{
    int created = Thread::numCreated();
    std::atomic<int> seenTid(0);
    std::string seenName;
    Thread t([&] {
        seenTid = muduo::CurrentThread::tid();
        seenName = muduo::CurrentThread::name();
    }, "worker");
    EXPECT_EQ(Thread::numCreated(), created + 1);
    EXPECT_FALSE(t.started());
    t.start();
    EXPECT_TRUE(t.started());
    EXPECT_GT(t.tid(), 0);
    EXPECT_EQ(t.join(), 0);
    EXPECT_EQ(seenTid.load(), t.tid());
    EXPECT_EQ(seenName, "worker");
    EXPECT_NE(t.tid(), muduo::CurrentThread::tid());
    EXPECT_TRUE(muduo::CurrentThread::isMainThread());

    Thread unnamed([] {});
    EXPECT_EQ(unnamed.name().rfind("Thread", 0), 0u);
}

TEST(CountDownLatchTest, ReleasesWaiterAtZero)
{
    CountDownLatch latch(2);
    EXPECT_EQ(latch.getCount(), 2);
    Thread t([&] {
        latch.countDown();
        latch.countDown();
    });
    t.start();
    latch.wait();
    EXPECT_EQ(latch.getCount(), 0);
    t.join();
}

TEST(ConditionTest, WaitForSecondsTimesOut)
{
    muduo::MutexLock mutex;
    muduo::Condition cond(mutex);
    muduo::MutexLockGuard lock(mutex);
    muduo::Timestamp start = muduo::Timestamp::now(true);
    EXPECT_TRUE(cond.waitForSeconds(0.05));
    EXPECT_GE(muduo::timeDifference(muduo::Timestamp::now(true), start), 0.04);
    EXPECT_TRUE(mutex.isLockedByThisThread());
}

TEST(ThreadPoolTest, ZeroThreadsRunInline)
{
    ThreadPool pool("inline");
    pool.start(0);
    int ranOn = 0;
    pool.run([&] { ranOn = muduo::CurrentThread::tid(); });
    EXPECT_EQ(ranOn, muduo::CurrentThread::tid());
    EXPECT_EQ(pool.queueSize(), 0u);
    pool.stop();
}

TEST(ThreadPoolTest, WorkersRunEveryTask)
{
    ThreadPool pool("pool");
    pool.setMaxQueueSize(5);
    std::atomic<int> inits(0);
    pool.setThreadInitCallback([&] { ++inits; });
    pool.start(3);

    const int kTasks = 200;
    CountDownLatch done(kTasks);
    muduo::MutexLock mutex;
    std::set<int> tids;
    for (int i = 0; i < kTasks; ++i)
    {
        pool.run([&] {
            {
                muduo::MutexLockGuard lock(mutex);
                tids.insert(muduo::CurrentThread::tid());
            }
            done.countDown();
        });
        EXPECT_LE(pool.queueSize(), 5u);
    }
    done.wait();
    pool.stop();
    EXPECT_EQ(inits.load(), 3);
    EXPECT_EQ(tids.count(muduo::CurrentThread::tid()), 0u);
    EXPECT_GE(tids.size(), 1u);
}

TEST(ThreadPoolTest, StopJoinsBusyWorkers)
{
    std::atomic<bool> finished(false);
    {
        ThreadPool pool("busy");
        pool.start(1);
        CountDownLatch started(1);
        pool.run([&] {
            started.countDown();
            muduo::CurrentThread::sleepUsec(50 * 1000);
            finished = true;
        });
        started.wait();
        pool.stop();
        EXPECT_TRUE(finished.load());
    }
}

TEST(CurrentThreadTest, ForkedChildLearnsItsOwnTid)
{
    int parentTid = muduo::CurrentThread::tid();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
    {
        int tid = muduo::CurrentThread::tid();
        ssize_t n = ::write(fds[1], &tid, sizeof tid);
        ::_exit(n == sizeof tid ? 0 : 1);
    }
    int childTid = 0;
    EXPECT_EQ(::read(fds[0], &childTid, sizeof childTid), static_cast<ssize_t>(sizeof childTid));
    ::waitpid(pid, nullptr, 0);
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_EQ(childTid, pid);
    EXPECT_NE(childTid, parentTid);
}
