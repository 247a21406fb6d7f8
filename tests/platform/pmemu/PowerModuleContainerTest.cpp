// The container's relay requests: acknowledgements, retries and failures,
// which reply answers which frame, and copies of a request.
#include <algorithm>

#include "PowerModuleContainerFixture.h"

using pmtest::Event;
using pmtest::PowerModuleContainerTest;
using pmtest::requestsOf;

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

// Ons answered late, after their waits ran out, others' frames after them on a busy line: the module, quiet since
// before those, gets no copy of them. Outlet 3's reply answers its request, so the module gets one frame of it; an
// off of outlet 4 asked meanwhile goes once.
TEST_F(PowerModuleContainerTest, ACopyWhoseRequestWasAnsweredIsNotSent)
{
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    emu.holdReplies(true);
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(container->turnOnPort(4, true));
    const int others[] = {0, 1, 2, 5, 6};
    for (int i = 0; i < 150; ++i)
        ASSERT_TRUE(container->turnOnPort(others[i % 5], false));
    runFor(0.5);  // past both waits
    EXPECT_FALSE(module->relayFrameWaiting(3) || module->relayFrameWaiting(4)) << "no copy";
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
