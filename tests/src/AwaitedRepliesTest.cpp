#include <gtest/gtest.h>

#include <vector>

#include "AwaitedReplies.h"

namespace
{
const double kWait = 0.2;
const uint32_t kOn = 0x20301, kOff = 0x20300, kMeter = 0x10500, kStatus = 0x30000;

muduo::Timestamp at(double seconds) { return muduo::addTime(muduo::Timestamp(1000000000), seconds); }

// The tag of the frame a reply answers, -1 for none.
int answered(AwaitedReplies& awaited, uint32_t key, double now)
{
    int tag = -1;
    return awaited.answer(key, at(now), &tag) ? tag : -1;
}
}

// Beyond the tracked frames the oldest are forgotten; the rest are answered in order, each once.
TEST(AwaitedReplies, FramesBeyondTheTrackedOnesAreForgotten)
{
    AwaitedReplies awaited(kWait);
    EXPECT_EQ(-1, answered(awaited, kOn, 0)) << "a reply to nothing awaited";
    const int sent = AwaitedReplies::kTracked + 10;
    for (int i = 0; i < sent; ++i)
        awaited.sent(i % 2 ? kOn : kOff, i, 6, at(0));
    for (int i = 10; i < sent; ++i)
        ASSERT_EQ(i, answered(awaited, i % 2 ? kOn : kOff, 0.1)) << i;
    EXPECT_EQ(0, awaited.owed(at(0.1)));
    EXPECT_EQ(-1, answered(awaited, kOn, 0.1));
}

// Replies held back come in order, past their waits: each answers its own frame, never a newer one asking the same,
// and a reply to a later frame shows the frames before it lost. Tags stand for requests: 1 and its copy, 2, 3 lost.
TEST(AwaitedReplies, ALateReplyNeverAnswersANewerFrame)
{
    AwaitedReplies awaited(kWait);
    awaited.sent(kOn, 1, 6, at(0));
    awaited.sent(kMeter, -1, 22, at(0.1));
    awaited.sent(kOn, 1, 6, at(0.2));  // its wait ran out: sent again
    awaited.sent(kOff, 2, 6, at(0.25));
    awaited.sent(kOn, 3, 6, at(0.26));
    awaited.sent(kStatus, -1, 6, at(0.3));
    EXPECT_EQ(6 + 6 + 6 + 6, awaited.owed(at(0.35)));
    EXPECT_EQ(at(0.4), awaited.nextDue(at(0.35)));
    EXPECT_EQ(1, answered(awaited, kOn, 0.42)) << "the oldest, though a newer one is owed";
    EXPECT_EQ(-1, answered(awaited, kMeter, 0.42));
    EXPECT_EQ(1, answered(awaited, kOn, 0.42)) << "the copy's reply";
    EXPECT_EQ(2, answered(awaited, kOff, 0.42));
    EXPECT_TRUE(awaited.holds(3, ~0, at(0.42)));
    EXPECT_EQ(-1, answered(awaited, kStatus, 0.42)) << "the status poll's: the on before it was lost";
    EXPECT_FALSE(awaited.holds(3, ~0, at(0.42)));
    EXPECT_EQ(0, awaited.owed(at(0.42)));
    EXPECT_EQ(-1, answered(awaited, kOn, 0.42));
}

// A far end silent a while, then answering again: it answers the frames it has just heard, so what it owed from
// its silence ends at its first reply, whatever that names. Frames whose wait ran out count as owed no more, and
// are forgotten kForget after they were carried.
TEST(AwaitedReplies, WhatASilentFarEndOwedEndsAtItsFirstReply)
{
    AwaitedReplies awaited(kWait);
    for (int i = 0; i < 4; ++i)
    {
        awaited.sent(kOff, 1, 6, at(0.2 * i));
        awaited.sent(kMeter, -1, 22, at(0.2 * i + 0.1));
    }
    EXPECT_EQ(22, awaited.owed(at(0.85)));
    EXPECT_EQ(0, awaited.owed(at(0.9)));
    EXPECT_FALSE(awaited.nextDue(at(0.9)).valid());
    awaited.sent(kStatus, -1, 6, at(1.5));
    awaited.sent(kMeter, -1, 22, at(1.55));
    awaited.sent(kOff, 2, 6, at(1.6));
    EXPECT_EQ(-1, answered(awaited, kMeter, 1.6)) << "a fresh meter poll's: the status poll was lost";
    EXPECT_FALSE(awaited.holds(1, ~0, at(1.6))) << "the offs of the silence";
    EXPECT_EQ(2, answered(awaited, kOff, 1.61));

    awaited.sent(kOff, 3, 6, at(2.0));
    EXPECT_TRUE(awaited.holds(3, ~0, at(4.9)));
    EXPECT_FALSE(awaited.holds(3, ~0, at(5.0)));
    EXPECT_EQ(-1, answered(awaited, kOff, 5.0)) << "forgotten";
}
