// Restarts and delayed actions: their halves, their bounds, and what a later
// request withdraws; a restart's on follows only an off known carried out.
#include "PowerModuleContainerFixture.h"

using pmtest::PowerModuleContainerTest;

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

// A report showing the outlet off counts for a restart's off only while nothing since could have switched it on: not
// with an on of it still waiting for a busy line. The restart's off lost, it fails, and no on goes after it.
TEST_F(PowerModuleContainerTest, ARestartBehindAnOnWaitingForTheLineIsNotOffAlready)
{
    reportNow();  // every outlet off
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    const int others[] = {0, 1, 2, 4, 6};
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(container->turnOnPort(others[i % 5], true));
    ASSERT_TRUE(container->turnOnPort(5, true));
    ASSERT_TRUE(module->relayFrameWaiting(5));
    emu.loseNextRelayFrame(5, 0);
    ASSERT_TRUE(container->restartPort(5, 1, false));
    runFor(3.0);
    EXPECT_EQ(std::vector<int>{1}, actionsOf(5)) << "the on, and no on after the lost off";
    ASSERT_EQ(1u, of("failed", 5).size());
    EXPECT_EQ(0, of("failed", 5)[0].action);
}

// An outlet a report showed off counts as off already for a restart only until an on of it since: outlet 2's
// restart goes on after its lost off, but a delayed restart after it finds it on when due; the loop's on of outlet 4
// counts too. Their offs lost, those restarts fail, and no on goes after the lost off.
TEST_F(PowerModuleContainerTest, AnOnSinceTheReportIsNotOffAlready)
{
    emu.loseNextRelayFrame(4, 1);
    ASSERT_TRUE(container->turnOnPort(4, false));
    ASSERT_TRUE(runUntil([&] { return !of("failed", 4).empty(); }, 5.0));
    reportNow();  // every outlet off: the loop's on of outlet 4 goes
    ASSERT_TRUE(runUntil([&] { return of("reply", 4).size() == 1; }, 5.0));
    emu.loseNextRelayFrame(4, 0);
    ASSERT_TRUE(container->restartPort(4, 1, false));
    emu.loseNextRelayFrame(2, 0);
    ASSERT_TRUE(container->restartPort(2, 1, false));
    ASSERT_TRUE(runUntil([&] { return of("ended", 2).size() == 1; }, 5.0));
    EXPECT_EQ(std::vector<int>{1}, actionsOf(2));
    EXPECT_TRUE(of("failed", 2).empty());
    emu.loseNextRelayFrame(2, 0);
    ASSERT_TRUE(container->restartPortAfter(2, 1, 1, false));
    runFor(3.5);
    EXPECT_EQ(std::vector<int>{1}, actionsOf(2)) << "no on after the lost off";
    EXPECT_EQ(1u, of("failed", 2).size());
    EXPECT_EQ(std::vector<int>{1}, actionsOf(4)) << "the loop's on, and no on after the lost off";
    EXPECT_EQ(2u, of("failed", 4).size());
    EXPECT_EQ(0x14, emu.relayBits() & 0x14);
}

// An outlet reported off, then switched on beside the unit (at the module) and reported on, is no longer off
// already: a restart whose off is lost sends no on, its load never cut.
TEST_F(PowerModuleContainerTest, AnOutletReportedOnAgainIsNotOffAlready)
{
    reportNow();
    emu.model().setRelay(5, true);
    reportNow();
    emu.loseNextRelayFrame(5, 0);
    ASSERT_TRUE(container->restartPort(5, 1, false));
    runFor(2.5);
    EXPECT_TRUE(actionsOf(5).empty()) << "no on after the lost off";
    EXPECT_EQ(1u, of("failed", 5).size());
    EXPECT_TRUE(emu.relayBits() & 0x20);
}
