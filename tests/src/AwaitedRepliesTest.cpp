#include <gtest/gtest.h>

#include <vector>

#include "AwaitedReplies.h"

namespace
{
const double kWait = 0.2;
// Relay frames of outlet 3 (exact), another outlet's, and polls.
const uint32_t kOn = 0x20301, kOff = 0x20300, kOn4 = 0x20401, kMeter = 0x10500, kStatus = 0x30000;

muduo::Timestamp at(double seconds) { return muduo::addTime(muduo::Timestamp(1000000000), seconds); }

void relay(AwaitedReplies& awaited, uint32_t key, int tag, double carried)
{
    awaited.sent(key, tag, 6, at(carried), true, 0);
}

void poll(AwaitedReplies& awaited, uint32_t key, double carried)
{
    awaited.sent(key, -1, key == kMeter ? 22 : 6, at(carried), false, 0);
}

// The tag of the frame a reply answers, -1 for none.
int answered(AwaitedReplies& awaited, uint32_t key, double now)
{
    int tag = -1;
    return awaited.answer(key, at(now), &tag, nullptr) ? tag : -1;
}
}

// Beyond the tracked frames the oldest are forgotten; the rest are answered in order, each once.
TEST(AwaitedReplies, FramesBeyondTheTrackedOnesAreForgotten)
{
    AwaitedReplies awaited(kWait);
    EXPECT_EQ(-1, answered(awaited, kOn, 0)) << "a reply to nothing awaited";
    const int sent = AwaitedReplies::kTracked + 10;
    for (int i = 0; i < sent; ++i)
        relay(awaited, i % 2 ? kOn : kOff, i, 0);
    for (int i = 10; i < sent; ++i)
        ASSERT_EQ(i, answered(awaited, i % 2 ? kOn : kOff, 0.1)) << i;
    EXPECT_EQ(0, awaited.owed(at(0.1)));
    EXPECT_EQ(-1, answered(awaited, kOn, 0.1));
}

// Replies held back come in order, past their waits: each answers its own frame, never a newer one asking the same,
// and a reply to a later frame shows the frames before it lost. Tags stand for requests: 1 and its copy, 2, 3 lost.
// A poll's reply only passes the on before it: owed no more, still answerable.
TEST(AwaitedReplies, ALateReplyNeverAnswersANewerFrame)
{
    AwaitedReplies awaited(kWait);
    relay(awaited, kOn, 1, 0);
    poll(awaited, kMeter, 0.1);
    relay(awaited, kOn, 1, 0.2);  // its wait ran out: sent again
    relay(awaited, kOff, 2, 0.25);
    relay(awaited, kOn, 3, 0.26);
    poll(awaited, kStatus, 0.3);
    EXPECT_EQ(6 + 6 + 6 + 6, awaited.owed(at(0.35)));
    EXPECT_EQ(at(0.4), awaited.nextChange(at(0.35)));
    EXPECT_EQ(1, answered(awaited, kOn, 0.42)) << "the oldest, though a newer one is owed";
    EXPECT_EQ(-1, answered(awaited, kMeter, 0.42));
    EXPECT_EQ(1, answered(awaited, kOn, 0.42)) << "the copy's reply";
    EXPECT_EQ(2, answered(awaited, kOff, 0.42));
    EXPECT_EQ(-1, answered(awaited, kStatus, 0.42)) << "the status poll's: the on before it was lost, or is late";
    EXPECT_EQ(0, awaited.owed(at(0.42)));
    EXPECT_TRUE(awaited.holds(3, ~0, at(0.42)));
    EXPECT_EQ(3, answered(awaited, kOn, 0.45));
    EXPECT_EQ(-1, answered(awaited, kOn, 0.45));
}

// A far end silent a while, then answering again: it answers the frames it has just heard. The first poll reply
// takes the fresh poll, drops the polls of the silence and passes its offs; the fresh off's reply reports it,
// whichever off it answers: only offs of the outlet lie between them. Frames are forgotten kForget after they were
// carried.
TEST(AwaitedReplies, WhatASilentFarEndOwedEndsAtItsFirstReply)
{
    AwaitedReplies awaited(kWait);
    for (int i = 0; i < 4; ++i)
    {
        relay(awaited, kOff, 1, 0.2 * i);
        poll(awaited, kMeter, 0.2 * i + 0.1);
    }
    EXPECT_EQ(22, awaited.owed(at(0.85)));
    EXPECT_EQ(0, awaited.owed(at(0.9)));
    EXPECT_FALSE(awaited.nextChange(at(0.9)).valid());
    poll(awaited, kStatus, 1.5);
    poll(awaited, kMeter, 1.55);
    relay(awaited, kOn4, 9, 1.58);
    relay(awaited, kOff, 2, 1.6);
    EXPECT_EQ(-1, answered(awaited, kMeter, 1.6)) << "a fresh meter poll's: the status poll was lost";
    EXPECT_EQ(12, awaited.owed(at(1.6))) << "the fresh frames alone";
    EXPECT_EQ(2, answered(awaited, kOff, 1.61)) << "another outlet's frame between them changes nothing";
    EXPECT_EQ(9, answered(awaited, kOn4, 1.61));

    relay(awaited, kOff, 3, 2.0);
    EXPECT_TRUE(awaited.holds(3, ~0, at(4.9)));
    EXPECT_FALSE(awaited.holds(3, ~0, at(5.0)));
    EXPECT_EQ(-1, answered(awaited, kOff, 5.0)) << "forgotten";
}

// A poll's reply with the head not asking the same and no frame asking it within its wait: it is late, and answers
// the oldest asking it. A far end that answered within the last wait owes every frame not passed, its wait run out
// or not, and may still answer each; quiet a wait, it owes only what is within it.
TEST(AwaitedReplies, AnAnsweringFarEndOwesEveryFrameItHasNotAnswered)
{
    AwaitedReplies awaited(kWait);
    awaited.sent(kStatus, 7, 6, at(0), false, 0);
    awaited.sent(kMeter, 8, 22, at(0.01), false, 0);
    relay(awaited, kOn, 1, 0.02);
    relay(awaited, kOn4, 2, 0.03);
    EXPECT_FALSE(awaited.replyComing(2, ~0, at(0.1))) << "not answering yet";
    EXPECT_EQ(8, answered(awaited, kMeter, 0.5)) << "late: the status poll before it was lost";
    EXPECT_EQ(12, awaited.owed(at(0.6)));
    EXPECT_EQ(at(0.7), awaited.nextChange(at(0.6)));
    EXPECT_TRUE(awaited.replyComing(2, ~0, at(0.6)));
    EXPECT_FALSE(awaited.replyComing(7, ~0, at(0.6))) << "lost";
    EXPECT_EQ(0, awaited.owed(at(0.7)));
    EXPECT_FALSE(awaited.replyComing(2, ~0, at(0.7))) << "quiet a wait";
}

// A run of like frames: a reply reports the newest and removes the oldest, whose place on the line it gives. A
// reply to no frame out still shows the far end answering, which owes what it held. A frame passed by a poll's reply
// still takes a late reply, unless a frame after it asks the same (with an off between, it would report the passed).
TEST(AwaitedReplies, RunsRepliesToNoFrameAndPassedFrames)
{
    AwaitedReplies awaited(kWait);
    awaited.sent(kOn, 1, 6, at(0), true, 10);
    awaited.sent(kOn, 2, 6, at(0.1), true, 11);
    int tag = -1;
    uint64_t seq = 0;
    ASSERT_TRUE(awaited.answer(kOn, at(0.15), &tag, &seq));
    EXPECT_EQ(2, tag);
    EXPECT_EQ(10u, seq);
    EXPECT_EQ(2, answered(awaited, kOn, 0.16));
    relay(awaited, kOff, 3, 1.0);
    EXPECT_EQ(-1, answered(awaited, kOn4, 1.5)) << "to no frame out";
    EXPECT_EQ(6, awaited.owed(at(1.6))) << "held: still owed";
    EXPECT_EQ(0, awaited.owed(at(1.7))) << "quiet again";

    relay(awaited, kOn, 4, 2.0);
    poll(awaited, kMeter, 2.1);
    EXPECT_EQ(-1, answered(awaited, kMeter, 2.15));
    EXPECT_EQ(4, answered(awaited, kOn, 2.3)) << "passed, still answered";
    relay(awaited, kOn, 5, 3.0);
    poll(awaited, kMeter, 3.1);
    EXPECT_EQ(-1, answered(awaited, kMeter, 3.15));
    relay(awaited, kOff, 7, 3.16);
    relay(awaited, kOn, 6, 3.17);
    EXPECT_EQ(6, answered(awaited, kOn, 3.2)) << "the frame after the passed one";
}

// Silent a while over ons and offs of outlet 3, then answering what it has just heard: the frames of the silence are
// owed no more, and a reply taken for one of them pays the fresh frame asking the same.
TEST(AwaitedReplies, AFarEndBackFromASilenceOwesOnlyWhatItHeard)
{
    AwaitedReplies awaited(kWait);
    for (int i = 0; i < 10; ++i)
        relay(awaited, i % 2 ? kOff : kOn, i, 0.05 * i);
    relay(awaited, kOn, 12, 0.9);  // unheard though within its wait: the reply answers a newer one
    relay(awaited, kOn, 10, 1.0);
    relay(awaited, kOn4, 11, 1.01);
    EXPECT_EQ(18, awaited.owed(at(1.02)));
    EXPECT_EQ(0, answered(awaited, kOn, 1.02)) << "the oldest asking it";
    EXPECT_EQ(6, awaited.owed(at(1.03))) << "outlet 4's alone: the fresh on is paid";
    EXPECT_FALSE(awaited.replyComing(10, ~0, at(1.03)));
    EXPECT_EQ(11, answered(awaited, kOn4, 1.03));
    EXPECT_EQ(0, awaited.owed(at(1.04)));
}
