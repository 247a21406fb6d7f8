#include <gtest/gtest.h>

#include <utility>
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

// A run of like frames: a reply reports the newest, and removes and places the oldest. A reply to no frame out shows
// the far end answering: it owes what it held. Back from a silence over ons and offs, it answers what it has just
// heard: the frames before the newest asking the same are owed no more, a reply taken for one pays for one heard, and
// one passed by a poll's reply yields to a frame after it.
TEST(AwaitedReplies, RunsStraysAndAFarEndBackFromASilence)
{
    AwaitedReplies awaited(kWait);
    awaited.sent(kOn, 1, 6, at(0), true, 10);
    awaited.sent(kOn, 2, 6, at(0.1), true, 11);
    int tag = -1;
    uint64_t seq = 0;
    ASSERT_TRUE(awaited.answer(kOn, at(0.15), &tag, &seq));
    EXPECT_EQ(std::make_pair(2, uint64_t{10}), std::make_pair(tag, seq));
    awaited.sent(kOff, 3, 6, at(1.0), true, 5);
    EXPECT_EQ(-1, answered(awaited, kOn4, 1.5));
    EXPECT_EQ(12, awaited.owed(at(1.6))) << "held: still owed";
    for (int i = 0; i < 10; ++i)
        relay(awaited, i % 2 ? kOff : kOn, 10 + i, 4.0 + 0.05 * i);
    relay(awaited, kOn, 20, 4.9);
    relay(awaited, kOn, 21, 5.0);
    relay(awaited, kOn4, 22, 5.01);
    EXPECT_EQ(10, answered(awaited, kOn, 5.02)) << "the oldest asking it";
    EXPECT_EQ(6, awaited.owed(at(5.03))) << "outlet 4's alone";
    EXPECT_FALSE(awaited.replyComing(21, ~0, at(5.03)));
    poll(awaited, kMeter, 5.1);
    EXPECT_EQ(-1, answered(awaited, kMeter, 5.15));
    relay(awaited, kOn, 23, 5.16);
    EXPECT_EQ(23, answered(awaited, kOn, 5.2)) << "not a passed on";
}
