// The rate bound of repeated log lines, alone and as a thread's scope over
// every line written while a peer's request is handled.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "muduo/base/LogLimiter.h"
#include "muduo/base/Logging.h"

using muduo::LogLimiter;
using muduo::Logger;
using muduo::Timestamp;

namespace
{
std::string g_out;
void capture(const char* msg, int len) { g_out.append(msg, static_cast<size_t>(len)); }

int count(const std::string& needle)
{
    int n = 0;
    for (size_t at = g_out.find(needle); at != std::string::npos; at = g_out.find(needle, at + 1))
        ++n;
    return n;
}

Timestamp ms(int64_t millis) { return Timestamp(1000000 + millis * 1000); }

class LogLimiterScope : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_out.clear();
        Logger::setOutput(capture);
        Logger::setLogLevel(Logger::INFO);
    }
    void TearDown() override { Logger::setOutput(nullptr); }
};
}

TEST(LogLimiter, PassesSoManyLinesAnIntervalAndTellsTheNextHowManyWereHeldBack)
{
    // lines per interval, lines offered every 10 ms for 3 s: written in all,
    // and the held-back count the first line of the second interval carries
    for (auto [lines, written, heldBack] : {std::tuple<int, int, int64_t>{1, 3, 99}, {12, 36, 88}})
    {
        LogLimiter limiter(1.0, lines);
        int passed = 0;
        int64_t note = -1, suppressed = 0;
        for (int i = 0; i < 300; ++i)
            if (limiter.allow(ms(i * 10), &suppressed))
            {
                ++passed;
                if (i >= 100 && note < 0)
                    note = suppressed;
            }
        EXPECT_EQ(written, passed) << lines;
        EXPECT_EQ(heldBack, note) << lines;
    }
    // Each written line tells only what was held back since the one before:
    // over several intervals the notes and the lines account for every offer.
    {
        LogLimiter limiter(1.0, 12);
        int64_t passed = 0, noted = 0, suppressed = 0;
        for (int i = 0; i < 450; ++i)
            if (limiter.allow(ms(i * 10), &suppressed))
            {
                ++passed;
                noted += suppressed;
            }
        EXPECT_EQ(450, passed + noted + 38);  // 38 offered since the last written line
        EXPECT_TRUE(limiter.allow(ms(6000), &suppressed));
        EXPECT_EQ(38, suppressed);
    }
    EXPECT_EQ(" (88 similar lines suppressed)", LogLimiter::note(88));
    EXPECT_EQ("", LogLimiter::note(0));
    // A clock that goes back opens a new interval rather than a long silence.
    LogLimiter limiter(1.0, 1);
    int64_t suppressed = 0;
    EXPECT_TRUE(limiter.allow(ms(5000), &suppressed));
    EXPECT_TRUE(limiter.allow(ms(4000), &suppressed));
}

TEST_F(LogLimiterScope, BoundsWarningsOfAnyCodeWhileItLivesAndLeavesInfoAlone)
{
    LogLimiter limiter(0.5, 3);
    {
        LogLimiter::Scope scope(limiter);
        for (int i = 0; i < 500; ++i)
        {
            LOG_WARN << "bad frame " << i;
            errno = EINVAL;
            LOG_SYSERR << "sysread";
            LOG_INFO << "detail " << i;
        }
        EXPECT_EQ(500, count("detail "));
        // A first interval, maybe a second if the loop was slow.
        EXPECT_GE(count("bad frame ") + count("sysread"), 3);
        EXPECT_LE(count("bad frame ") + count("sysread"), 6);
        std::this_thread::sleep_for(std::chrono::milliseconds(550));
        g_out.clear();
        LOG_ERROR << "next";
        EXPECT_EQ(1, count("next (")) << g_out;
        EXPECT_EQ(1, count(" similar lines suppressed) - LogLimiterTest.cpp:")) << g_out;
        // An inner scope holds its own lines; the outer one is back after it.
        LogLimiter inner(10.0, 1);
        {
            LogLimiter::Scope nested(inner);
            for (int i = 0; i < 10; ++i)
                LOG_WARN << "inner";
        }
        EXPECT_EQ(1, count("inner"));
        EXPECT_EQ(&limiter, LogLimiter::current());
    }
    EXPECT_EQ(nullptr, LogLimiter::current());
    g_out.clear();
    for (int i = 0; i < 20; ++i)
        LOG_WARN << "outside";
    EXPECT_EQ(20, count("outside"));
}
