#include <gtest/gtest.h>

#include "SwitchAgainBackoff.h"

namespace
{
muduo::Timestamp at(double seconds) { return muduo::addTime(muduo::Timestamp(1000000000), seconds); }
}

// Each try waits twice the one before, from 0.5 s to at most 60 s, reports coming a little early still finding it
// due; starting over makes the next due at once. Outlets outside the module are never due and count nothing.
TEST(SwitchAgainBackoff, TriesComeLessAndLessOften)
{
    SwitchAgainBackoff backoff;
    double t = 0;
    for (double wait : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 32.0, 60.0, 60.0})
    {
        ASSERT_TRUE(backoff.due(3, at(t)));
        backoff.tried(3, at(t));
        EXPECT_FALSE(backoff.due(3, at(t + wait - 0.15))) << wait;
        t += wait - 0.05;
    }
    EXPECT_EQ(9, backoff.tries(3));
    EXPECT_TRUE(backoff.due(4, at(t))) << "each outlet its own";
    EXPECT_EQ(9, backoff.reset(3));
    EXPECT_EQ(0, backoff.tries(3));
    EXPECT_TRUE(backoff.due(3, at(t)));
    for (int outlet : {-1, 8, 100})
    {
        EXPECT_FALSE(backoff.due(outlet, at(t)));
        EXPECT_EQ(0, backoff.tried(outlet, at(t)));
        EXPECT_EQ(0, backoff.tries(outlet));
        EXPECT_EQ(0, backoff.reset(outlet));
        EXPECT_EQ(0, backoff.followed(outlet, at(t)));
        backoff.strayed(outlet);
    }
}

// A load that trips a while after each on: reports find it as asked, then otherwise. The back-off starts over only
// once reports have found it as asked for the longest wait with none between finding it otherwise (a report a
// little early counts), never while it has not been tried.
TEST(SwitchAgainBackoff, StartsOverOnceFollowedForTheLongestWait)
{
    SwitchAgainBackoff backoff;
    EXPECT_EQ(0, backoff.followed(2, at(0)));
    for (double t : {0.0, 0.5, 1.5})
        backoff.tried(2, at(t));
    double t = 2;
    for (; t < 2 + 59.5; t += 0.5)
        ASSERT_EQ(0, backoff.followed(2, at(t))) << t;
    backoff.strayed(2);  // tripped just before the minute
    EXPECT_EQ(3, backoff.tries(2));
    const double run = t + 0.5;
    for (t = run; t < run + 59.85; t += 0.5)
        ASSERT_EQ(0, backoff.followed(2, at(t))) << t;
    EXPECT_EQ(3, backoff.followed(2, at(run + 59.95)));
    EXPECT_EQ(0, backoff.tries(2));
    EXPECT_TRUE(backoff.due(2, at(run + 59.95)));
    EXPECT_EQ(0, backoff.followed(2, at(run + 200)));

    // A try ends a run; a new command ends it too.
    backoff.tried(2, at(0));
    backoff.followed(2, at(0.5));
    backoff.tried(2, at(1));
    EXPECT_EQ(0, backoff.followed(2, at(60.8)));
    EXPECT_EQ(2, backoff.reset(2));
    backoff.tried(2, at(61));
    backoff.followed(2, at(61.5));
    EXPECT_EQ(1, backoff.followed(2, at(121.5)));
}
