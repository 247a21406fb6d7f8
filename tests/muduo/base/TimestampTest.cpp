#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "muduo/base/StringPiece.h"
#include "muduo/base/Timestamp.h"
#include "platform/core/BoardClock.h"

using muduo::Timestamp;

TEST(TimestampTest, Formatting)
{
    // 2026-12-06 16:36:04 UTC
    Timestamp t(1796574964LL * Timestamp::kMicroSecondsPerSecond + 123456);
    EXPECT_EQ(t.toFormattedString(), "20261206 16:36:04.123456");
    EXPECT_EQ(t.toFormattedString(false), "20261206 16:36:04");
    EXPECT_EQ(t.toString(), "1796574964.123456");
    EXPECT_EQ(Timestamp(1000005).toString(), "1.000005");
    EXPECT_EQ(t.secondsSinceEpoch(), 1796574964);
    EXPECT_EQ(Timestamp(0).toFormattedString(), "19700101 00:00:00.000000");
}

TEST(TimestampTest, ValidityArithmeticAndOrder)
{
    EXPECT_FALSE(Timestamp::invalid().valid());
    EXPECT_FALSE(Timestamp().valid());
    EXPECT_FALSE(Timestamp(-5).valid());
    EXPECT_TRUE(Timestamp(1).valid());

    Timestamp a(10 * Timestamp::kMicroSecondsPerSecond);
    Timestamp b = muduo::addTime(a, 1.5);
    EXPECT_EQ(b.microSecondsSinceEpoch(), 11500000);
    EXPECT_DOUBLE_EQ(muduo::timeDifference(b, a), 1.5);
    EXPECT_DOUBLE_EQ(muduo::timeDifference(a, b), -1.5);
    EXPECT_EQ(muduo::addTime(a, -0.0000019).microSecondsSinceEpoch(), 9999999);  // truncates toward zero
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b > a);
    EXPECT_TRUE(a <= a);
    EXPECT_TRUE(a >= a);
    EXPECT_TRUE(a == Timestamp(10000000));
    EXPECT_TRUE(a != b);
}

TEST(TimestampTest, Clocks)
{
    Timestamp m1 = Timestamp::now(true);
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    Timestamp m2 = Timestamp::now(true);
    int64_t direct = static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
    EXPECT_LE(m1.microSecondsSinceEpoch(), direct);
    EXPECT_LE(direct, m2.microSecondsSinceEpoch());

    // The wall clock is the board's (which may be offset from the host's).
    int64_t before = board::wallClockMicros();
    Timestamp w = Timestamp::now();
    int64_t after = board::wallClockMicros();
    EXPECT_LE(before, w.microSecondsSinceEpoch());
    EXPECT_LE(w.microSecondsSinceEpoch(), after);
    EXPECT_LE(Timestamp::now(false).microSecondsSinceEpoch() - after, 1000000);
}

TEST(StringPieceTest, ViewOperations)
{
    std::string s = "hello world";
    muduo::StringPiece p(s);
    EXPECT_EQ(p.size(), 11);
    p.remove_prefix(6);
    EXPECT_EQ(p.as_string(), "world");
    p.remove_suffix(2);
    EXPECT_EQ(p, muduo::StringPiece("wor"));
    EXPECT_TRUE(muduo::StringPiece("abc") < muduo::StringPiece("abd"));
    EXPECT_TRUE(muduo::StringPiece("ab") < muduo::StringPiece("abc"));
    EXPECT_TRUE(muduo::StringPiece().empty());
    EXPECT_EQ(muduo::StringPiece().as_string(), "");
    muduo::StringArg arg(s);
    EXPECT_STREQ(arg.c_str(), "hello world");
}
