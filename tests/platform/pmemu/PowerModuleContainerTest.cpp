#include <utility>

#include "GlobalData.h"
#include "OutletAction.h"
#include "PowerModuleFixture.h"
#include "support/LogCapture.h"

using pmtest::Clock;
using pmtest::requestsOf;
using pmtest::seconds;

namespace
{
struct Event
{
    std::string what;
    int port;
    int action;
    double at;
};

class PowerModuleContainerTest : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override
    {
        PowerModuleFixture::SetUp();
        makeContainer();
        start = Clock::now();
        auto log = [this](const char* what, int port, int action) {
            events.push_back({what, port, action, seconds(Clock::now() - start)});
        };
        container->setRelayRequestSentCallback([log](int p, unsigned char a) { log("sent", p, a); });
        container->setRelayReplyCallback([log](int p, unsigned char a, unsigned char r) {
            log("reply", p, a);
            EXPECT_EQ(0, r);
        });
        container->setRelayFailedCallback([log](int p, unsigned char a) { log("failed", p, a); });
        container->setPortOperationStartedCallback([log](int p) { log("started", p, -1); });
        container->setPortOperationEndedCallback([log](int p) { log("ended", p, -1); });
    }

    std::vector<Event> of(const std::string& what) const
    {
        std::vector<Event> out;
        for (const auto& e : events)
            if (e.what == what)
                out.push_back(e);
        return out;
    }

    // Relay frames the module received for one outlet, as (action, seconds since start).
    std::vector<std::pair<int, double>> relayFrames(int port) const
    {
        std::vector<std::pair<int, double>> out;
        for (const auto& r : requestsOf(emu, 2))
            if (r.payload.size() == 2 && r.payload[0] == port)
                out.push_back({r.payload[1], seconds(r.received - start)});
        return out;
    }

    std::vector<int> actionsOf(int port) const
    {
        std::vector<int> out;
        for (const auto& frame : relayFrames(port))
            out.push_back(frame.first);
        return out;
    }

    Clock::time_point start;
    std::vector<Event> events;
};
}

TEST_F(PowerModuleContainerTest, AcknowledgedWithinTheTimeoutNeedsNoRetry)
{
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return !of("ended").empty(); }, 5.0));
    runFor(1.0);  // any retry would have happened by now
    EXPECT_EQ(1u, relayFrames(3).size());
    ASSERT_EQ(1u, of("reply").size());
    EXPECT_EQ(1, of("reply")[0].action);
    EXPECT_LT(of("reply")[0].at, 0.2 + 0.3);
    EXPECT_EQ(1u, of("started").size());
    EXPECT_EQ(1u, of("ended").size());
    EXPECT_TRUE(of("failed").empty());
    EXPECT_TRUE(emu.relayBits() & (1u << 3));
}

TEST_F(PowerModuleContainerTest, SilentModuleGetsThreeRetriesThenFailure)
{
    emu.setSilent(true);
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return !of("failed").empty(); }, 5.0));
    runFor(0.5);
    auto frames = relayFrames(3);
    ASSERT_EQ(4u, frames.size());
    for (size_t i = 1; i < frames.size(); ++i)
    {
        EXPECT_EQ(1, frames[i].first);
        EXPECT_GE(frames[i].second - frames[i - 1].second, 0.15);
        EXPECT_LT(frames[i].second - frames[i - 1].second, 0.6);
    }
    EXPECT_EQ(4u, of("sent").size());
    ASSERT_EQ(1u, of("failed").size());
    EXPECT_EQ(3, of("failed")[0].port);
    EXPECT_EQ(1, of("failed")[0].action);
    EXPECT_GE(of("failed")[0].at, 0.75);
    ASSERT_EQ(1u, of("ended").size());
    EXPECT_GE(of("ended")[0].at, of("failed")[0].at);
}

TEST_F(PowerModuleContainerTest, WithoutRetryOneFrameThenFailure)
{
    emu.setSilent(true);
    ASSERT_TRUE(container->turnOffPort(3, false));
    ASSERT_TRUE(runUntil([&] { return !of("failed").empty(); }, 5.0));
    runFor(0.5);
    EXPECT_EQ(1u, relayFrames(3).size());
    ASSERT_EQ(1u, of("failed").size());
    EXPECT_EQ(0, of("failed")[0].action);
    EXPECT_GE(of("failed")[0].at, 0.19);
    EXPECT_EQ(1u, of("ended").size());
}

TEST_F(PowerModuleContainerTest, RestartIsOffThenOnAfterTheRestartDelay)
{
    emu.model().setRelay(2, true);
    ASSERT_TRUE(container->restartPort(2, 1, true));
    ASSERT_TRUE(runUntil([&] { return !of("ended").empty(); }, 6.0));
    auto frames = relayFrames(2);
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(0, frames[0].first);
    EXPECT_EQ(1, frames[1].first);
    auto replies = of("reply");
    ASSERT_EQ(2u, replies.size());
    EXPECT_GE(frames[1].second - replies[0].at, 0.95);
    EXPECT_LT(frames[1].second - replies[0].at, 2.5);
    EXPECT_EQ(1u, of("started").size());
    ASSERT_EQ(1u, of("ended").size());
    // The operation ends with the on half's acknowledgement, not the off half's.
    EXPECT_EQ("ended", events[events.size() - 2].what);
    EXPECT_EQ("reply", events.back().what);
    EXPECT_EQ(1, events.back().action);
    EXPECT_TRUE(emu.relayBits() & (1u << 2));
}

TEST_F(PowerModuleContainerTest, DelayedOnStartsTheOperationAtOnce)
{
    ASSERT_TRUE(container->turnOnPortAfter(4, 1, false));
    ASSERT_EQ(1u, of("started").size());
    EXPECT_TRUE(relayFrames(4).empty());
    ASSERT_TRUE(runUntil([&] { return !of("ended").empty(); }, 6.0));
    auto frames = relayFrames(4);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(1, frames[0].first);
    EXPECT_GE(frames[0].second, 0.95);
    EXPECT_TRUE(emu.relayBits() & (1u << 4));
}

TEST_F(PowerModuleContainerTest, DelayedRestartRunsBothHalvesLater)
{
    emu.model().setRelay(1, true);
    ASSERT_TRUE(container->restartPortAfter(1, 1, 2, false));  // delays told apart
    EXPECT_EQ(1u, of("started").size());
    ASSERT_TRUE(runUntil([&] { return !of("ended").empty(); }, 8.0));
    auto frames = relayFrames(1);
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(0, frames[0].first);
    EXPECT_GE(frames[0].second, 0.95);
    EXPECT_EQ(1, frames[1].first);
    EXPECT_GE(frames[1].second - frames[0].second, 1.95);
    EXPECT_EQ(1u, of("ended").size());
}

// A client asking again and again within a long delay: each outlet keeps a bounded number of timers waiting.
TEST_F(PowerModuleContainerTest, DelayedActionsOfAnOutletWaitingAtOnceAreBounded)
{
    const size_t bound = PowerModuleContainer::kMaxDelayedPerPort;
    size_t accepted = 0;
    for (int i = 0; i < 1000; ++i)
        accepted += container->turnOnPortAfter(3, 3600, true);
    EXPECT_EQ(bound, accepted);
    EXPECT_TRUE(container->restartPortAfter(5, 3600, 1, true));  // other outlets keep their own places
    EXPECT_FALSE(container->turnOffPortAfter(3, 3600, true));
}

// Restarts asked for again and again within a long restart delay: one switch-on waits for the outlet, apart from
// the delayed actions, whose places all stay free.
TEST_F(PowerModuleContainerTest, RestartsKeepOneSwitchOnWaitingOutsideTheDelayedBound)
{
    const size_t bound = PowerModuleContainer::kMaxDelayedPerPort;
    for (size_t i = 1; i <= 2 * bound; ++i)
    {
        ASSERT_TRUE(container->restartPort(2, 3600, true));
        ASSERT_TRUE(runUntil([&] { return of("reply").size() == i; }, 5.0)) << i;  // its switch-on now waits
    }
    EXPECT_TRUE(container->roomForDelayed(2));
    size_t accepted = 0;
    for (size_t i = 0; i < bound + 1; ++i)
        accepted += container->turnOnPortAfter(2, 3600, true);
    EXPECT_EQ(bound, accepted);
    EXPECT_FALSE(container->roomForDelayed(2));
}

TEST_F(PowerModuleContainerTest, ANewRestartReplacesTheWaitingSwitchOn)
{
    emu.model().setRelay(3, true);
    ASSERT_TRUE(container->restartPort(3, 1, true));
    ASSERT_TRUE(runUntil([&] { return of("reply").size() == 1; }, 5.0));
    ASSERT_TRUE(container->restartPort(3, 2, true));
    ASSERT_TRUE(runUntil([&] { return of("ended").size() == 2; }, 8.0)) << "each restart ends";
    runFor(1.5);  // time for a second switch-on
    const auto frames = relayFrames(3);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(1, frames.back().first);
    EXPECT_EQ(0, frames[frames.size() - 2].first) << "one switch-on, the last frame";
    EXPECT_GE(frames.back().second - frames[frames.size() - 2].second, 1.95) << "the second restart's delay";
    EXPECT_TRUE(emu.relayBits() & (1u << 3));
}

// Switched off after a restart, an outlet stays off past the restart delay: whether the off is immediate or
// delayed, and also when it comes before the off half of a delayed restart asked for earlier (withdrawn whole).
TEST_F(PowerModuleContainerTest, ALaterRequestWithdrawsTheRestartsSwitchOn)
{
    for (int port : {1, 2, 4})
        emu.model().setRelay(port, true);
    ASSERT_TRUE(container->restartPort(1, 1, true));
    ASSERT_TRUE(container->restartPort(2, 1, true));
    ASSERT_TRUE(container->restartPortAfter(4, 1, 1, true));
    ASSERT_TRUE(runUntil([&] { return of("reply").size() == 2; }, 5.0));
    ASSERT_TRUE(container->turnOffPort(1, true));
    ASSERT_TRUE(container->turnOffPortAfter(2, 1, true));
    ASSERT_TRUE(container->turnOffPort(4, true));
    runFor(4.0);  // every delay has passed
    for (int port : {1, 2, 4})
    {
        const auto frames = relayFrames(port);
        EXPECT_EQ(port == 4 ? 1u : 2u, frames.size()) << port;
        for (const auto& frame : frames)
            EXPECT_EQ(0, frame.first) << port;
    }
    EXPECT_EQ(0, emu.relayBits() & 0x16);
}

// A delayed restart not yet begun is withdrawn whole by a later request: the outlet ends as the last request asked,
// and the restart's place among the delayed actions comes free.
TEST_F(PowerModuleContainerTest, ALaterRequestWithdrawsADelayedRestartWhole)
{
    ASSERT_TRUE(container->turnOffPortAfter(4, 1, true));  // a plain delayed off stays
    for (int port : {0, 1, 2, 3, 4})
        ASSERT_TRUE(container->restartPortAfter(port, 2, 1, true));
    ASSERT_TRUE(container->turnOnPort(0, true));
    ASSERT_TRUE(container->turnOnPortAfter(1, 1, true));
    ASSERT_TRUE(container->turnOffPort(2, true));
    ASSERT_TRUE(container->restartPortAfter(3, 3, 1, true));
    ASSERT_TRUE(container->turnOnPort(4, true));
    runFor(5.5);  // every delay has passed
    const std::vector<std::vector<int>> wanted = {{1}, {1}, {0}, {0, 1}, {1, 0}};
    for (int port = 0; port < 5; ++port)
        EXPECT_EQ(wanted[static_cast<size_t>(port)], actionsOf(port)) << port;
    EXPECT_EQ(0x0B, emu.relayBits() & 0x1F);

    ASSERT_TRUE(container->restartPortAfter(4, 3600, 1, true));
    for (size_t i = 0; i < PowerModuleContainer::kMaxDelayedPerPort; ++i)
        EXPECT_TRUE(container->turnOnPortAfter(4, 3600, true)) << i;
    EXPECT_FALSE(container->turnOnPortAfter(4, 3600, true));
}

// Frames for an outlet sent before the first is acknowledged: each reply ends the one wait, nothing is sent again.
TEST_F(PowerModuleContainerTest, FramesSentBeforeAnAcknowledgementAreNotSentAgain)
{
    for (int round = 0; round < 20; ++round)
    {
        ASSERT_TRUE(container->turnOnPort(3, true));
        ASSERT_TRUE(container->turnOffPort(3, true));
        ASSERT_TRUE(container->turnOnPort(3, true));
    }
    runFor(2.0);  // past every time-out and retry
    EXPECT_EQ(60u, relayFrames(3).size());
    EXPECT_EQ(60u, of("sent").size());
    EXPECT_TRUE(of("failed").empty());
    EXPECT_TRUE(emu.relayBits() & (1u << 3));
}

// Two frames for an outlet on the line at once: the reply to the first does not end the wait of the second, so a
// lost second frame is sent again; a reply to the second ends it though the first was lost, so nothing answered is
// sent again, also when both ask the same (two ons, the first lost).
TEST_F(PowerModuleContainerTest, AReplyToAnOlderFrameDoesNotEndTheWaitOfANewerOne)
{
    emu.loseNextRelayFrame(3, 0);
    emu.loseNextRelayFrame(4, 1);
    emu.loseNextRelayFrame(5, 1);
    for (int port : {3, 4, 5})
    {
        ASSERT_TRUE(container->turnOnPort(port, true));
        ASSERT_TRUE(port == 5 ? container->turnOnPort(port, true) : container->turnOffPort(port, true));
    }
    runFor(1.5);  // past every time-out and retry
    EXPECT_EQ((std::vector<int>{1, 0}), actionsOf(3));  // the lost off once more
    EXPECT_EQ((std::vector<int>{0}), actionsOf(4));
    EXPECT_EQ((std::vector<int>{1}), actionsOf(5));
    EXPECT_TRUE(of("failed").empty());
    EXPECT_EQ(0x20, emu.relayBits() & 0x38);
}

// The on's reply held 0.26 s, an off right after it, a second on 0.12 s after the first, lost; another outlet's
// frame before them lost too, so the on's reply does not answer the oldest frame out. That reply may answer either
// on: it ends no wait of the second, which is sent again, and the outlet ends on.
TEST_F(PowerModuleContainerTest, AReplyThatMayAnswerAnOlderFrameEndsNoWaitOfANewerOne)
{
    emu.loseNextRelayFrame(5, 1);
    ASSERT_TRUE(container->turnOnPort(5, true));
    emu.holdReplies(true);
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(container->turnOffPort(3, true));
    runFor(0.12);
    emu.loseNextRelayFrame(3, 1);
    ASSERT_TRUE(container->turnOnPort(3, true));
    runFor(0.14);
    emu.holdReplies(false);
    runFor(1.5);  // past every time-out and retry
    EXPECT_EQ((std::vector<int>{1, 0, 1}), actionsOf(3)) << "the lost on once more";
    EXPECT_TRUE(of("failed").empty());
    EXPECT_EQ(0x28, emu.relayBits() & 0x28);
}

// Restarts whose off replies come after the off's wait ran out. Without retries the restart fails, and its late
// reply arms no on; with retries the off is sent again, both replies come, and the on is armed once. Each ends once.
TEST_F(PowerModuleContainerTest, ARequestEndsOnceThoughAnsweredLateOrTwice)
{
    emu.model().setRelayBits(0x44);
    emu.holdReplies(true);
    ASSERT_TRUE(container->restartPort(2, 1, false));
    ASSERT_TRUE(container->restartPort(6, 1, true));
    ASSERT_TRUE(runUntil([&] { return relayFrames(6).size() == 2; }, 5.0));  // sent again
    emu.holdReplies(false);
    runFor(2.0);  // past the restart delay
    EXPECT_EQ(std::vector<int>{0}, actionsOf(2));
    const std::vector<int> six = actionsOf(6);
    EXPECT_EQ(1, std::count(six.begin(), six.end(), 1));
    EXPECT_EQ(1, six.back());
    ASSERT_EQ(2u, of("ended").size());
    EXPECT_EQ(8, of("ended")[0].port + of("ended")[1].port);
    ASSERT_EQ(1u, of("failed").size());
    EXPECT_EQ(2, of("failed")[0].port);
    EXPECT_EQ(0x40, emu.relayBits() & 0x44);
}

// An on given up at its time-out and sent again, its replies late; then an off and an on, the on lost. The late
// replies answer the on and its copy, never the newer on: it is sent again, and the outlet ends on.
TEST_F(PowerModuleContainerTest, ALateReplyNeverAnswersANewerFrame)
{
    emu.holdReplies(true);
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return relayFrames(3).size() == 2; }, 5.0));  // sent again
    emu.loseNextRelayFrame(3, 1);
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return relayFrames(3).size() == 3; }, 5.0));
    emu.holdReplies(false);
    runFor(1.5);  // past every time-out and retry
    const std::vector<int> frames = actionsOf(3);
    const auto off = std::find(frames.begin(), frames.end(), 0);
    ASSERT_NE(frames.end(), off);
    EXPECT_EQ(std::vector<int>{1}, std::vector<int>(off + 1, frames.end())) << "the lost on once more";
    EXPECT_TRUE(of("failed").empty());
    EXPECT_TRUE(emu.relayBits() & (1u << 3));
}

// Frames behind others on a line at its pace: their wait begins when the line has carried them. Answered, a frame
// is sent once, not again for waiting its turn, also when a lost frame before it times out meanwhile; lost, it is
// sent again.
TEST_F(PowerModuleContainerTest, AFrameWaitingItsTurnOnTheLineIsNotSentAgain)
{
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    emu.loseNextRelayFrame(3, 1);
    ASSERT_TRUE(container->turnOnPort(3, true));
    const int others[] = {0, 1, 2, 4, 5, 6};
    for (int i = 0; i < 150; ++i)  // 0.47 s of line, with the replies
        ASSERT_TRUE(container->turnOnPort(others[i % 6], true));
    ASSERT_TRUE(container->turnOffPort(3, true));
    emu.loseNextRelayFrame(7, 0);
    ASSERT_TRUE(container->turnOffPort(7, true));
    ASSERT_TRUE(runUntil([&] { return of("reply").size() >= 152; }, 5.0));
    runFor(1.0);  // past every time-out and retry
    EXPECT_EQ(std::vector<int>{0}, actionsOf(3)) << "the lost on's time-out sent the off again";
    EXPECT_EQ(std::vector<int>{0}, actionsOf(7)) << "the lost off was not sent again";
    EXPECT_EQ(152u, requestsOf(emu, 2).size());
    EXPECT_TRUE(of("failed").empty());
    EXPECT_EQ(0, emu.relayBits() & 0x88);
}

// A module answering at 30 % of the line's pace, four rounds of switching for every outlet at once: the last
// replies come 0.3 s after their frames, behind the others. Each frame's wait begins behind the replies owed before
// it, so none is sent again.
TEST_F(PowerModuleContainerTest, AFrameWhoseReplyComesBehindOthersIsNotSentAgain)
{
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    emu.setReplyPace(PowerModule::kLineBytesPerSecond * 3 / 10);
    for (int round = 0; round < 4; ++round)
        for (int port = 0; port < 8; ++port)
            ASSERT_TRUE(round % 2 ? container->turnOnPort(port, true) : container->turnOffPort(port, true));
    runFor(1.5);  // past every time-out and retry
    for (int port = 0; port < 8; ++port)
        EXPECT_EQ((std::vector<int>{0, 1, 0, 1}), actionsOf(port)) << port;
    EXPECT_TRUE(of("failed").empty());
    EXPECT_EQ(0xFF, emu.relayBits());
}

// A module silent a while over an off (the off and its copies lost), then answering the polls again: what it owed
// ends there. A restart 1 s later sends its off once and its on after the restart delay, and a later off goes once.
TEST_F(PowerModuleContainerTest, WhatASilentModuleOwedEndsWhenItAnswersAgain)
{
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return of("ended").size() == 1; }, 5.0));
    emu.setSilent(true);
    ASSERT_TRUE(container->turnOffPort(3, true));
    runFor(1.5);
    emu.setSilent(false);
    runFor(1.0);
    // The status report after the silence finds the outlet on: the off again.
    ASSERT_EQ(6u, relayFrames(3).size()) << "the on, the off, its three copies, the off again";
    events.clear();
    ASSERT_TRUE(container->restartPort(3, 1, true));
    ASSERT_TRUE(runUntil([&] { return of("ended").size() == 1; }, 5.0));
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(runUntil([&] { return of("ended").size() == 2; }, 5.0));
    runFor(0.5);  // time for a frame sent again
    const std::vector<int> frames = actionsOf(3);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), std::vector<int>(frames.begin() + 6, frames.end()));
    EXPECT_TRUE(of("failed").empty());
    EXPECT_EQ(0, emu.relayBits() & (1u << 3));
}

// Ons answered late, after their waits ran out and their copies were queued behind others on a busy line. Outlet
// 3's reply answers its request and the copy still waiting its turn is withdrawn, so the module gets one frame of
// it; outlet 4's copy is withdrawn when an off is asked meanwhile.
TEST_F(PowerModuleContainerTest, ACopyWhoseRequestWasAnsweredIsNotSent)
{
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    emu.holdReplies(true);
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(container->turnOnPort(4, true));
    const int others[] = {0, 1, 2, 5, 6};
    for (int i = 0; i < 150; ++i)
        ASSERT_TRUE(container->turnOnPort(others[i % 5], false));
    ASSERT_TRUE(runUntil([&] { return module->relayFrameWaiting(3) && module->relayFrameWaiting(4); }, 5.0))
        << "the copies wait their turn";
    ASSERT_TRUE(container->turnOffPort(4, true));
    emu.holdReplies(false);
    ASSERT_TRUE(runUntil([&] { return !module->relayFrameWaiting(3) && of("reply").size() > 152; }, 5.0));
    runFor(0.5);
    EXPECT_EQ(std::vector<int>{1}, actionsOf(3));
    EXPECT_EQ((std::vector<int>{1, 0}), actionsOf(4));
    std::vector<Event> ended;
    for (const auto& e : of("ended"))
        if (e.port == 3)
            ended.push_back(e);
    EXPECT_EQ(1u, ended.size());
    EXPECT_EQ(0x08, emu.relayBits() & 0x18);
    EXPECT_EQ(0.0, module->lineBehind()) << "the withdrawn copies count as waiting no more";
}

// Polls running, whatever the line's ledger guesses, the status report closes the loop: a restart answered after its
// retries ran out, behind a report from before it, goes on to its on (its off got there); after a silence over an
// off and an on, a restart goes as if nothing happened.
TEST_F(PowerModuleContainerTest, TheModulesOwnReportClosesTheLoop)
{
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    emu.model().setRelayBits(0x03);
    emu.holdReplies(true);
    runFor(0.6);
    ASSERT_TRUE(container->restartPort(0, 1, true));
    runFor(1.2);
    emu.holdReplies(false);
    runFor(3.0);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 1}), actionsOf(0));
    emu.setSilent(true);
    ASSERT_TRUE(container->turnOffPort(1, true));
    runFor(0.5);
    ASSERT_TRUE(container->turnOnPort(1, true));
    runFor(1.1);
    emu.setSilent(false);
    runFor(0.3);
    std::vector<int> one = actionsOf(1);
    ASSERT_TRUE(container->restartPort(1, 1, true));
    runFor(2.0);
    one.insert(one.end(), {0, 1});
    EXPECT_EQ(one, actionsOf(1));
    EXPECT_EQ(0x03, emu.relayBits());
}

// A welded relay: its off acknowledged, every report shows it on. The loop switches it again less and less often
// (0.5 s, 1 s, 2 s, 4 s ...), with one line when it is found not following and one when it follows again, the tries
// between at INFO; other outlets' commands go as usual meanwhile, and one whose off was lost is put right at once.
TEST_F(PowerModuleContainerTest, ARelayThatDoesNotFollowIsSwitchedAgainLessAndLessOften)
{
    test::LogCapture log;
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    emu.model().setRelayBits(0x48);
    emu.model().setStuck(3, pmemu::PmMeterModel::Stuck::kOn);
    ASSERT_TRUE(container->turnOffPort(3, true));
    emu.loseNextRelayFrame(6, 0);
    ASSERT_TRUE(container->turnOffPort(6, false));  // lost, no retry: the report's one try puts it right
    loop.runAfter(3.0, [this] { EXPECT_TRUE(container->turnOnPort(5, true)); });
    runFor(8.2);
    std::vector<double> tries;
    for (const auto& frame : relayFrames(3))
        tries.push_back(frame.second);
    ASSERT_GE(tries.size(), 5u);
    EXPECT_LE(tries.size(), 6u) << "the off, then tries 0.5, 1, 2 and 4 s apart";
    for (size_t i = 3; i < tries.size(); ++i)  // the loop's own tries
        EXPECT_GT(tries[i] - tries[i - 1], 1.6 * (tries[i - 1] - tries[i - 2])) << i;
    EXPECT_EQ(std::vector<int>{1}, actionsOf(5));
    EXPECT_EQ(1, log.count("port:3 found on, switched again"));
    EXPECT_EQ(1, log.count("port:3 does not follow: it should be off"));
    EXPECT_EQ(1, log.count("port:3 switched again, try 3"));
    EXPECT_EQ(1, log.count("port:6 found on, switched again"));
    EXPECT_EQ(0, log.count("port:6 follows again")) << "a wrong guess put right at once";
    EXPECT_EQ((std::vector<int>{0}), actionsOf(6));
    emu.model().setStuck(3, pmemu::PmMeterModel::Stuck::kFree);
    emu.model().setRelay(3, false);
    runFor(1.0);
    EXPECT_EQ(1, log.count("port:3 follows again after " + std::to_string(tries.size() - 1) + " tries"));
    EXPECT_EQ(tries.size(), relayFrames(3).size());

    // A restart is one command: tries its off took are told once its on follows.
    ASSERT_TRUE(container->turnOnPort(3, true));
    runFor(0.6);
    emu.loseNextRelayFrame(3, 0);
    emu.loseNextRelayFrame(3, 0);
    ASSERT_TRUE(container->restartPort(3, 1, false));
    runFor(4.5);
    const auto all = actionsOf(3);
    EXPECT_EQ((std::vector<int>{1, 0, 1}), std::vector<int>(all.begin() + tries.size(), all.end()));
    EXPECT_EQ(1, log.count("port:3 follows again after 2 tries"));
}

TEST_F(PowerModuleContainerTest, DelayedRetryMaskCoversTheOnHalf)
{
    ASSERT_TRUE(container->turnOffPortAfter(6, 0, true));
    ASSERT_TRUE(runUntil([&] { return !of("ended").empty(); }, 5.0));
    emu.setSilent(true);
    events.clear();
    ASSERT_TRUE(container->turnOnPortAfter(6, 0, true));
    ASSERT_TRUE(runUntil([&] { return !of("failed").empty(); }, 5.0));
    EXPECT_EQ(4u, of("sent").size());
}

TEST_F(PowerModuleContainerTest, OutletsOutsideTheModuleAreRefused)
{
    for (int port : {-1, -100, 8, 9, 63, 255, 100000})
    {
        EXPECT_FALSE(container->turnOnPort(port, true)) << port;
        EXPECT_FALSE(container->turnOffPort(port, false)) << port;
        EXPECT_FALSE(container->restartPort(port, 5, true)) << port;
        EXPECT_FALSE(container->turnOnPortAfter(port, 0, true)) << port;
        EXPECT_FALSE(container->turnOffPortAfter(port, 0, false)) << port;
        EXPECT_FALSE(container->restartPortAfter(port, 0, 1, true)) << port;
        EXPECT_FALSE(container->controlRelayRequest(port, 1)) << port;
        // A module's events for them change nothing, and nothing is shown of them.
        container->onRelayFrameOut(port, 1, 0, 0.0);
        container->onControlRelayAckCallback(port, 1, 0, 0);
        EXPECT_EQ(-1, container->shownState(port)) << port;
    }
    EXPECT_FALSE(container->startCalibrate(8));
    EXPECT_FALSE(container->startCalibrate(-1));
    runFor(0.5);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(requestsOf(emu, 2).empty());
}

TEST_F(PowerModuleContainerTest, CalibrationRequestsReachTheModule)
{
    std::vector<int> starts;
    int transfers = 0;
    unsigned short voltage = 0;
    container->setStartCalibrateCallback([&](int port, unsigned char) { starts.push_back(port); });
    container->setTransferCaliParamCallback([&](int m, unsigned char r) {
        EXPECT_EQ(0, m);
        EXPECT_EQ(0, r);
        ++transfers;
    });
    container->setCaliParamCallback([&](int, unsigned short v, unsigned short, unsigned short, unsigned char) {
        voltage = v;
    });
    EXPECT_TRUE(container->transferCaliParam(0x1234, 2, 3));
    ASSERT_TRUE(runUntil([&] { return transfers == 1; }, 5.0));
    EXPECT_TRUE(container->requestCaliParam());
    ASSERT_TRUE(runUntil([&] { return voltage != 0; }, 5.0));
    EXPECT_EQ(0x1234, voltage);
    EXPECT_TRUE(container->startCalibrate(255));
    ASSERT_TRUE(runUntil([&] { return !starts.empty(); }, 5.0));
    EXPECT_EQ(255, starts[0]);
}
