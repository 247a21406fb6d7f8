#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "AwaitedReplies.h"

namespace
{
const double kWait = 0.2;
const double kLine = 1920;
// Relay frames of outlet 3 (exact), another outlet's, and polls.
const uint32_t kOn = 0x20301, kOff = 0x20300, kOn4 = 0x20401, kMeter = 0x10500, kMeter6 = 0x10600,
               kStatus = 0x30000;

muduo::Timestamp at(double seconds) { return muduo::addTime(muduo::Timestamp(1000000000), seconds); }

void relay(AwaitedReplies& awaited, uint32_t key, int tag, double carried)
{
    awaited.sent(key, tag, 6, at(carried), true, 0);
}

void poll(AwaitedReplies& awaited, uint32_t key, double carried)
{
    awaited.sent(key, -1, key == kStatus ? 6 : 22, at(carried), false, 0);
}

// The tag of the frame a reply answers, -1 for none.
int answered(AwaitedReplies& awaited, uint32_t key, double now)
{
    AwaitedReplies::Answer a{-1, -1, 0, false};
    return awaited.answer(key, at(now), &a) ? a.tag : -1;
}

bool certain(AwaitedReplies& awaited, uint32_t key, double now)
{
    AwaitedReplies::Answer a{-1, -1, 0, false};
    return awaited.answer(key, at(now), &a) && a.certain;
}
}

// Beyond the tracked frames the oldest are dropped unanswered: the rest are answered in order, each once, but none
// certainly, since a dropped one asking the same may be the one answered, until a reply to a frame whose key none of
// them asked shows them all settled.
TEST(AwaitedReplies, FramesBeyondTheTrackedOnesAreDroppedUnsettled)
{
    AwaitedReplies awaited(kWait, kLine);
    EXPECT_FALSE(awaited.answer(kOn, at(0), nullptr)) << "a reply to nothing awaited";
    const int sent = AwaitedReplies::kTracked + 10;
    for (int i = 0; i < sent; ++i)
        relay(awaited, i % 2 ? kOn : kOff, i, 0);
    EXPECT_EQ(6 * AwaitedReplies::kTracked, awaited.owed());
    for (int i = 10; i < 20; ++i)
        ASSERT_FALSE(certain(awaited, i % 2 ? kOn : kOff, 0.1)) << i;
    poll(awaited, kStatus, 0.1);
    for (int i = 20; i < sent; ++i)
        ASSERT_EQ(i, answered(awaited, i % 2 ? kOn : kOff, 0.1)) << i;
    EXPECT_TRUE(certain(awaited, kStatus, 0.1)) << "asked by none dropped: they all went before";
    relay(awaited, kOn, 1, 0.2);
    EXPECT_TRUE(certain(awaited, kOn, 0.3)) << "settled";
    for (int i = 0; i < sent; ++i)
        ASSERT_FALSE(awaited.holds(i, ~0)) << "nothing out, nothing held: " << i;
    EXPECT_EQ(0, awaited.owed());
    EXPECT_EQ(-1, answered(awaited, kOn, 0.3));
}

// Replies held back come in order, past their waits: each answers its own frame, never a newer one asking the same,
// and a reply to a later frame shows the frames before it lost, a poll's too. Tags stand for requests: 1 and its
// copy, 2, 3 lost.
TEST(AwaitedReplies, ALateReplyNeverAnswersANewerFrame)
{
    AwaitedReplies awaited(kWait, kLine);
    relay(awaited, kOn, 1, 0);
    poll(awaited, kMeter, 0.1);
    relay(awaited, kOn, 1, 0.2);  // its wait ran out: sent again
    relay(awaited, kOff, 2, 0.25);
    relay(awaited, kOn, 3, 0.26);
    poll(awaited, kStatus, 0.3);
    EXPECT_EQ(6 + 22 + 6 + 6 + 6 + 6, awaited.owed()) << "quiet: every frame out, whatever its wait";
    EXPECT_EQ(at(kWait), awaited.quietFrom()) << "a wait after the oldest was carried";
    EXPECT_EQ(1, answered(awaited, kOn, 0.42)) << "the oldest, though a newer one is owed";
    EXPECT_EQ(-1, answered(awaited, kMeter, 0.42));
    EXPECT_EQ(1, answered(awaited, kOn, 0.42)) << "the copy's reply";
    EXPECT_EQ(2, answered(awaited, kOff, 0.42));
    EXPECT_TRUE(awaited.replyComing(3, ~0, at(0.42)));
    EXPECT_EQ(-1, answered(awaited, kStatus, 0.42)) << "the status poll's: the on before it was lost";
    EXPECT_EQ(0, awaited.owed());
    EXPECT_FALSE(awaited.holds(3, ~0));
    EXPECT_FALSE(awaited.quietFrom().valid()) << "nothing out";
    EXPECT_EQ(-1, answered(awaited, kOn, 0.45)) << "no frame out asks it";
}

// A far end silent a while, then answering again: nothing is dropped by age, its first reply after the quiet spell
// asks for a marker, the frames before the one a reply answers are dropped, and so is what was before the marker
// once it is answered. The fresh off's reply reports it, whichever off it answers: only offs of the outlet lie
// between them. However late, a reply answers the oldest frame asking the same.
TEST(AwaitedReplies, WhatASilentFarEndNeverHeardIsDropped)
{
    AwaitedReplies awaited(kWait, kLine);
    for (int i = 0; i < 4; ++i)
    {
        relay(awaited, kOff, 1, 0.2 * i);
        poll(awaited, kMeter, 0.2 * i + 0.1);
    }
    EXPECT_EQ(4 * (6 + 22), awaited.owed()) << "silent: still owed";
    EXPECT_FALSE(awaited.answering(at(0.92)));
    relay(awaited, kOff, 2, 1.6);
    relay(awaited, kOn4, 9, 1.605);
    EXPECT_EQ(2, answered(awaited, kOff, 1.61));
    EXPECT_TRUE(awaited.answering(at(1.61)));
    EXPECT_TRUE(awaited.takeMarker()) << "frames past their wait: held, or never heard";
    EXPECT_FALSE(awaited.takeMarker()) << "once";
    EXPECT_EQ(22 * 4 + 6 * 3 + 12, awaited.owed()) << "answering: every frame out";
    EXPECT_FALSE(awaited.asks(kMeter6));
    poll(awaited, kMeter6, 1.612);  // the marker
    EXPECT_TRUE(awaited.asks(kMeter6));
    EXPECT_EQ(9, answered(awaited, kOn4, 1.615));
    EXPECT_EQ(22, awaited.owed()) << "the frames before it dropped";
    EXPECT_EQ(-1, answered(awaited, kMeter6, 1.63));
    EXPECT_EQ(0, awaited.owed());
    EXPECT_FALSE(awaited.takeMarker()) << "answering all the while";

    relay(awaited, kOff, 3, 2.0);
    relay(awaited, kOn4, 4, 2.001);
    relay(awaited, kOff, 5, 2.002);
    EXPECT_TRUE(awaited.holds(5, ~0));
    EXPECT_EQ(at(2.0 + kWait), awaited.quietFrom());
    EXPECT_EQ(5, answered(awaited, kOff, 60.0)) << "a minute late: the oldest off, reporting the run";
    EXPECT_EQ(4, answered(awaited, kOn4, 60.01));
    EXPECT_EQ(at(60.01 + kWait), awaited.quietFrom()) << "a wait after its last reply";
}

// A poll's reply with the head not asking the same: the frames before it were lost. A far end that answered within
// the last wait owes every frame out, its wait run out or not, and may still answer each; quiet a wait, it owes them
// still, but no reply is counted on as coming.
TEST(AwaitedReplies, AnAnsweringFarEndOwesEveryFrameItHasNotAnswered)
{
    AwaitedReplies awaited(kWait, kLine);
    awaited.sent(kStatus, 7, 6, at(0), false, 0);
    awaited.sent(kMeter, 8, 22, at(0.01), false, 0);
    relay(awaited, kOn, 1, 0.02);
    relay(awaited, kOn4, 2, 0.03);
    EXPECT_FALSE(awaited.replyComing(2, ~0, at(0.1))) << "not answering yet";
    EXPECT_EQ(8, answered(awaited, kMeter, 0.5)) << "late: the status poll before it was lost";
    EXPECT_EQ(0, awaited.replyPace()) << "a reply behind another frame's tells no pace";
    EXPECT_EQ(12, awaited.owed());
    EXPECT_EQ(at(0.7), awaited.quietFrom());
    EXPECT_TRUE(awaited.replyComing(2, ~0, at(0.6)));
    EXPECT_FALSE(awaited.replyComing(7, ~0, at(0.6))) << "lost";
    EXPECT_FALSE(awaited.replyComing(2, ~0, at(0.7))) << "quiet a wait";
    EXPECT_EQ(12, awaited.owed());

    AwaitedReplies alone(kWait, kLine);
    poll(alone, kMeter, 1.0);
    answered(alone, kMeter, 1.02);
    EXPECT_DOUBLE_EQ(22 / 0.02, alone.replyPace()) << "a meter reply with nothing before it: its bytes in its time";
}

// A run of like frames: a reply reports the newest and its oldest; a run begun by another request may answer that
// one. A reply to no frame out (a second talker on the line) is no sign of the far end hearing: it neither counts as
// answering nor asks for a marker.
TEST(AwaitedReplies, RunsAndStrays)
{
    AwaitedReplies awaited(kWait, kLine);
    awaited.sent(kOn, 1, 6, at(0), true, 10);
    awaited.sent(kOn, 2, 6, at(0.1), true, 11);
    AwaitedReplies::Answer a{-1, -1, 0, false};
    ASSERT_TRUE(awaited.answer(kOn, at(0.15), &a));
    EXPECT_EQ(2, a.tag);
    EXPECT_EQ(1, a.earliest);
    EXPECT_EQ(10u, a.seq);
    ASSERT_TRUE(awaited.answer(kOn, at(0.16), &a));
    EXPECT_EQ(2, a.earliest) << "its own frame alone left";
    awaited.sent(kOff, 3, 6, at(1.0), true, 5);
    EXPECT_EQ(-1, answered(awaited, kOn4, 1.5));
    EXPECT_FALSE(awaited.answering(at(1.5))) << "the stray";
    EXPECT_EQ(at(1.0 + kWait), awaited.quietFrom());
    EXPECT_EQ(6, awaited.owed()) << "held: still owed";
    EXPECT_FALSE(awaited.takeMarker()) << "the stray asks for none";
    EXPECT_EQ(3, answered(awaited, kOff, 2.5));
    EXPECT_FALSE(awaited.takeMarker()) << "back from a quiet spell, nothing left out";
}

// A far end answering at 60 % of the line, back to back: its pace is measured. Holding its replies with a backlog,
// it owes them all, quiet however long; answering again, however slowly, it is owed the rest, carried long before.
TEST(AwaitedReplies, AFarEndHoldingABacklogIsOwedItWhateverTheHold)
{
    AwaitedReplies awaited(kWait, kLine);
    const double pace = kLine * 0.6, reply = 6 / pace;
    double t = 0;
    for (int i = 0; i < 200; ++i)
        relay(awaited, i % 2 ? kOn : kOff, i, 0.003 * i);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(i, answered(awaited, i % 2 ? kOn : kOff, t += reply));
    EXPECT_NEAR(pace, awaited.busyPace(), pace * 0.05);
    // Holding its replies a second, then a run too short to time: neither the hold nor what the run before left
    // uncounted adds to it.
    AwaitedReplies again(kWait, kLine);
    for (int i = 0; i < 160; ++i)
        relay(again, i % 2 ? kOn : kOff, i, 0.003 * i);
    double u = 0;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(i, answered(again, i % 2 ? kOn : kOff, u += reply));
    u += 1;
    for (int i = 100; i < 160; ++i)
        ASSERT_EQ(i, answered(again, i % 2 ? kOn : kOff, u += i == 100 ? 0 : reply / 3));
    EXPECT_NEAR(pace, again.busyPace(), pace * 0.05);
    EXPECT_EQ(600, awaited.owed());
    const double held = t + 100 * reply + 10;  // the backlog would have gone long before
    EXPECT_FALSE(awaited.answering(at(held)));
    EXPECT_EQ(600, awaited.owed());
    for (int i = 100; i < 200; ++i)
        ASSERT_EQ(i, answered(awaited, i % 2 ? kOn : kOff, held + 1 + 0.05 * (i - 100))) << i;
}
