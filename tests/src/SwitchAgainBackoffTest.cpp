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
    }
}
