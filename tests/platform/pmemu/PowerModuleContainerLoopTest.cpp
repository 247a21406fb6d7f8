// The module's status report closes the loop: an outlet found otherwise than
// its last switching asks is switched again, less and less often while it
// does not follow; what is shown.
#include <chrono>
#include <string>

#include "PowerModuleContainerFixture.h"
#include "SwitchAgainBackoff.h"
#include "support/LogCapture.h"

using pmtest::Clock;
using pmtest::PowerModuleContainerTest;

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
    // Silent since before the polls after it, the module gets no copy of the off; the status report after the
    // silence finds the outlet on: the off again.
    ASSERT_EQ(3u, relayFrames(3).size()) << "the on, the off, the off again";
    events.clear();
    ASSERT_TRUE(container->restartPort(3, 1, true));
    ASSERT_TRUE(runUntil([&] { return of("ended").size() == 1; }, 5.0));
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(runUntil([&] { return of("ended").size() == 2; }, 5.0));
    runFor(0.5);  // time for a frame sent again
    const std::vector<int> frames = actionsOf(3);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), std::vector<int>(frames.begin() + 3, frames.end()));
    EXPECT_TRUE(of("failed").empty());
    EXPECT_EQ(0, emu.relayBits() & (1u << 3));
}

// Polls running, whatever the line's ledger guesses, the status report closes the loop: a restart answered after its
// retries ran out (no copies: the module left the polls after it unanswered too), behind a report from before it,
// goes on to its on (its off got there); after a silence over an off and an on, a restart goes as if nothing
// happened.
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
    EXPECT_EQ((std::vector<int>{0, 1}), actionsOf(0));
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
// (0.5 s, 1 s, 2 s, 4 s ...), with one warning when it is found not following and one once it has followed for the
// longest wait, the tries between at INFO; other outlets' commands go as usual meanwhile, and one whose off was lost
// is put right at once, with no warning then or once it has stayed so. A restart is one command: the tries its off
// took are told once its on has followed as long.
TEST_F(PowerModuleContainerTest, ARelayThatDoesNotFollowIsSwitchedAgainLessAndLessOften)
{
    test::LogCapture log;
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    emu.model().setRelayBits(0x4C);
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
    EXPECT_EQ(1, log.count("port:3 does not follow: it should be off; switched again less and less often"));
    EXPECT_EQ(1, log.count("port:3 switched again, try 3"));
    EXPECT_EQ(1, warnings(log, "port:3 "));
    EXPECT_EQ(1, log.count("port:6 found on, switched again"));
    EXPECT_EQ(0, warnings(log, "port:6 ")) << "a wrong guess put right at once";
    EXPECT_EQ((std::vector<int>{0}), actionsOf(6));
    emu.model().setStuck(3, pmemu::PmMeterModel::Stuck::kFree);
    emu.model().setRelay(3, false);
    const auto freed = Clock::now();

    emu.loseNextRelayFrame(2, 0);
    emu.loseNextRelayFrame(2, 0);
    ASSERT_TRUE(container->restartPort(2, 1, false));
    runFor(4.5);
    EXPECT_EQ((std::vector<int>{0, 1}), actionsOf(2)) << "the restart's off and the loop's first try lost";
    EXPECT_EQ(1, log.count("port:2 does not follow: it should be off"));
    EXPECT_EQ(tries.size(), relayFrames(3).size());
    EXPECT_EQ(0, log.count("follows again")) << "not before it has followed for the longest wait";

    const std::string three = "port:3 follows again after " + std::to_string(tries.size() - 1) + " tries";
    ASSERT_TRUE(runUntil([&] { return log.contains(three); }, SwitchAgainBackoff::kLongest + 5));
    EXPECT_GT(pmtest::seconds(Clock::now() - freed), SwitchAgainBackoff::kLongest - 0.5);
    ASSERT_TRUE(runUntil([&] { return log.contains("port:2 follows again after 2 tries"); }, 5.0));
    EXPECT_EQ(2, warnings(log, "port:3 "));
    EXPECT_EQ(2, warnings(log, "port:2 "));
    EXPECT_EQ(0, warnings(log, "port:6 ")) << "put right at once, a minute before: no news";
    EXPECT_EQ(tries.size(), relayFrames(3).size());
    EXPECT_EQ((std::vector<int>{0, 1}), actionsOf(2));
}

// A new command starts the loop over: a welded relay tried 0.5, 1, 2 and 4 s apart, freed, then asked off again and
// that off lost, is put right by the next report's try, not by one 8 s after the last. The warned run the command
// ends gets its closing line; the run of one try after it, no warning, none.
TEST_F(PowerModuleContainerTest, ANewCommandStartsTheLoopOver)
{
    test::LogCapture log;
    container->startQueryAllOutputsStatus(0.5);
    emu.model().setRelayBits(0x08);
    emu.model().setStuck(3, pmemu::PmMeterModel::Stuck::kOn);
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(runUntil([&] { return relayFrames(3).size() == 5; }, 6.0));
    runFor(0.2);
    emu.model().setStuck(3, pmemu::PmMeterModel::Stuck::kFree);
    emu.loseNextRelayFrame(3, 0);
    ASSERT_TRUE(container->turnOffPort(3, false));
    EXPECT_EQ(1, warnings(log, "port:3 left to a new command after 4 tries"));
    EXPECT_TRUE(runUntil([&] { return !(emu.relayBits() & 0x08); }, 1.5)) << "the next report's try";
    EXPECT_EQ(2, log.count("port:3 found on, switched again"));
    ASSERT_TRUE(container->turnOnPort(3, false));
    EXPECT_EQ(1, log.count("left to a new command"));
}

// Shown: a report, or a command's acknowledgement until a report after it. The loop's own frame shows nothing, and
// a command after it shows again.
TEST_F(PowerModuleContainerTest, ACommandAfterTheLoopsTryIsShownWhenAcknowledged)
{
    emu.model().setRelayBits(0x40);
    emu.loseNextRelayFrame(6, 0);
    ASSERT_TRUE(container->turnOffPort(6, false));
    ASSERT_TRUE(runUntil([&] { return !of("failed").empty(); }, 5.0));
    EXPECT_EQ(-1, container->shownState(6));
    reportNow();  // on: the loop's try goes
    ASSERT_TRUE(runUntil([&] { return of("reply", 6).size() == 1; }, 5.0));
    EXPECT_EQ(1, container->shownState(6)) << "the loop's own frame shows nothing";
    reportNow();
    EXPECT_EQ(0, container->shownState(6));
    ASSERT_TRUE(container->turnOnPort(6, false));
    ASSERT_TRUE(runUntil([&] { return of("reply", 6).size() == 2; }, 5.0));
    EXPECT_EQ(1, container->shownState(6));
    EXPECT_EQ((std::vector<int>{0, 1}), actionsOf(6));
}

// A load whose protection switches it off a while after each on (0.15 s, 0.8 s, 3 s): switched on again 0.5 s, 1 s,
// 2 s ... apart, not at once after each trip, with a warning or few.
class TrippingLoad : public PowerModuleContainerTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(TrippingLoad, IsSwitchedOnLessAndLessOften)
{
    test::LogCapture log;
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    emu.model().setTrip(3, std::chrono::milliseconds(GetParam()));
    ASSERT_TRUE(container->turnOnPort(3, true));
    runFor(20.0);
    const auto ons = relayFrames(3);
    ASSERT_GE(ons.size(), 4u);
    EXPECT_LE(ons.size(), 8u);
    EXPECT_LE(warnings(log, "port:3 "), 4);
    for (const auto& on : ons)
        EXPECT_EQ(1, on.first);
    for (size_t i = 2; i < ons.size(); ++i)  // try i at least the back-off's wait after try i - 1
        EXPECT_GT(ons[i].second - ons[i - 1].second, SwitchAgainBackoff::kFirst * (1 << (i - 2)) - 0.15) << i;
    EXPECT_GT(ons.back().second - ons[ons.size() - 2].second, 3.75) << "the last try 4 s or more after the one before";
}

INSTANTIATE_TEST_SUITE_P(AfterEachOn, TrippingLoad, ::testing::Values(150, 800, 3000),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "ms"; });
