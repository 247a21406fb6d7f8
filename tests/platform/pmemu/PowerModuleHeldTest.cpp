// The power module's line when the module holds its replies or says nothing
// for a while, under a flood of switching requests: what it is sent, when,
// and what is read from it once it answers again.
#include <cstdio>
#include <utility>

#include "FloodedModule.h"

using pmtest::Clock;
using pmtest::requestsOf;
using pmtest::seconds;

namespace
{
using pmtest::FloodedModule;

class HeldUnderAFlood : public FloodedModule, public ::testing::WithParamInterface<double>
{
};
}

// A module at 65 % of the line's pace, flooded at the refusal bound, holds its replies (a stalled firmware, a
// brown-out) for longer than any wait, then answers in order again: it was sent little while it held them, is owed
// every one however late, and is sent nothing more until it has worked through them (but a marker), so what waits
// in it is back within the line's window (and a meter reply) within 2 s, and its replies within a second of their
// frames.
TEST_P(HeldUnderAFlood, WhatWaitsInTheModuleDrainsWithinTwoSeconds)
{
    startPolled(65);
    startFlood();
    runFor(2.0);
    emu.holdReplies(true);
    const Clock::time_point holding = Clock::now();
    runFor(GetParam());
    emu.holdReplies(false);
    const Clock::time_point released = Clock::now();
    runFor(2.0);
    size_t most = 0;
    loop.runEvery(0.05, [&] { most = std::max(most, emu.waitingBytes()); });
    runFor(1.0);
    stopFlood();
    runFor(2.0);  // the last accepted reach the module
    EXPECT_LE(most, 192u + 22u) << "reply bytes waiting in the module from 2 s after the release";
    double latest = 0;
    for (const auto& r : emu.replyTimes(released + std::chrono::seconds(2)))
        latest = std::max(latest, seconds(r.written - r.received));
    EXPECT_LT(latest, 1.0) << "replies from 2 s after the release, after their frames";
    // Each accepted command reached the module once, in order: one accepted before the hold, carried to the module
    // though it had gone quiet; one accepted during it, as it was probed; one accepted while the module still owed
    // what it held, counting that backlog as waiting for the line (else it was refused).
    double late = 0, lateAfter = 0, lateJustBefore = 0;
    EXPECT_EQ(accepted.size(), inOrder([&](const Asked& a, const pmemu::PmRequest& frame) {
        double& worst = a.at > released ? lateAfter : late;
        worst = std::max(worst, seconds(frame.received - a.at));
        if (a.at < holding && a.at > holding - std::chrono::milliseconds(500))
            lateJustBefore = std::max(lateJustBefore, seconds(frame.received - a.at));
    }));
    // Back, it is sent a marker first, ahead of the polls and of whatever it still owes.
    const auto markers = requestsOf(emu, 4);
    const auto marker = std::find_if(markers.begin(), markers.end(),
                                     [&](const pmemu::PmRequest& r) { return r.received > released; });
    ASSERT_NE(markers.end(), marker) << "no marker after the release";
    const double markerAfter = seconds(marker->received - released);
    // Its pace is measured anew once it no longer holds the line back: the flood goes on at that pace, each quarter
    // second alike, none of it refused for a pace taken while the backlog drained.
    std::vector<double> quarters(8);
    for (const auto& a : accepted)
    {
        const double after = seconds(a.at - released) - 1.0;
        if (after >= 0 && after < 2.0)
            ++quarters[static_cast<size_t>(after * 4)];
    }
    std::printf("held %.1f s: %zu bytes waiting from 2 s after; commands accepted before the release %.2f s late "
                "(in the half second before the hold %.2f s), after it %.2f s; the marker %.2f s after it; "
                "accepted each quarter second from 1 s after it %.0f to %.0f\n",
                GetParam(), most, late, lateJustBefore, lateAfter, markerAfter,
                *std::min_element(quarters.begin(), quarters.end()), *std::max_element(quarters.begin(), quarters.end()));
    EXPECT_LT(markerAfter, 0.5);
    EXPECT_GT(*std::min_element(quarters.begin(), quarters.end()), pmtest::median(quarters) / 2);
    EXPECT_EQ(0u, pmtest::meterTurnsSkipped(emu)) << "a port's poll waiting for its probe keeps its turn";
    EXPECT_LT(lateJustBefore, 1.1) << "a command accepted just before the hold, carried at the line's pace";
    EXPECT_LT(late, 1.6) << "a command accepted before the release (the flood's first second: 1.45 s)";
    EXPECT_LT(lateAfter, 1.3) << "a command accepted after the release";
}

INSTANTIATE_TEST_SUITE_P(Holds, HeldUnderAFlood, ::testing::Values(3.5, 10.0));

// A module at the line's pace, asked a command every half second, says nothing for 30 s (a firmware stalled, its
// line unplugged): only a probe now and then goes, a twentieth of the silence so far apart; a command is accepted
// while a probe will carry it within the bound, and reaches the module within it. Once the module answers again, a
// flood goes on at its pace.
TEST_F(FloodedModule, ASilentModuleIsProbedAndEachCommandAcceptedReachesItWithinTheBound)
{
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    makeContainer();
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    startFlood(0.5, 1);
    runFor(1.0);
    emu.setSilent(true);
    const Clock::time_point quiet = Clock::now();
    runFor(30.0);
    stopFlood();
    emu.setSilent(false);
    const Clock::time_point back = Clock::now();
    startFlood();
    runFor(3.0);
    stopFlood();
    runFor(2.0);
    double late = 0, lateBack = 0;
    size_t probed = 0, sentQuiet = 0;
    EXPECT_EQ(accepted.size(), inOrder([&](const Asked& a, const pmemu::PmRequest& frame) {
        probed += a.at > quiet && a.at < back;
        double& worst = a.at > back ? lateBack : late;
        worst = std::max(worst, seconds(frame.received - a.at));
    }));
    for (const auto& frame : emu.requests())
        sentQuiet += !frame.acted;
    std::printf("silent 30 s: %zu frames sent, %zu commands accepted meanwhile; commands %.2f s late, after it "
                "answers again %.2f s\n",
                sentQuiet, probed, late, lateBack);
    EXPECT_LT(sentQuiet, 100u) << "probes";
    EXPECT_GT(probed, 5u) << "commands a probe carries within the bound";
    EXPECT_LT(late, 1.1);
    EXPECT_LT(lateBack, 1.2);
    EXPECT_GT(accepted.size(), probed + 200) << "the flood goes on at its pace";
}

namespace
{
class HeldRestart : public pmtest::PowerModuleFixture, public ::testing::WithParamInterface<std::pair<bool, double>>
{
};
}

// Outlet 3 on; an off, heard, its reply held; an on, heard; a restart (with retries or without) whose off is lost on
// the line, copies and all; the module holding its replies past any wait (the holds near the 3 s a frame was once
// forgotten after). The held off's reply answers the oldest
// off, never the restart's own: the restart is not done without its off, so the module cuts the load before the
// restart switches it on.
TEST_P(HeldRestart, AHeldReplyIsNeverTakenForALaterRequestsFrame)
{
    const bool retry = GetParam().first;
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    emu.model().setRelay(3, true);
    makeContainer();
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    runFor(1.0);
    emu.holdReplies(true);
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(runUntil([&] { return requestsOf(emu, 2).size() == 1; }, 2.0));
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return requestsOf(emu, 2).size() == 2; }, 2.0));
    for (int i = 0; i <= (retry ? PowerModuleContainer::kRetries : 0); ++i)
        emu.loseNextRelayFrame(3, 0);
    const Clock::time_point restarted = Clock::now();
    ASSERT_TRUE(container->restartPort(3, 1, retry));
    runFor(GetParam().second);
    emu.holdReplies(false);
    runFor(6.0);
    bool cut = false, onBeforeCut = false;
    for (const auto& r : requestsOf(emu, 2))
        if (r.received > restarted && r.acted)
        {
            cut = cut || r.payload[1] == 0;
            onBeforeCut = onBeforeCut || (r.payload[1] == 1 && !cut);
        }
    EXPECT_FALSE(onBeforeCut) << "switched on before its off was carried out";
    EXPECT_TRUE(cut);
    EXPECT_TRUE(emu.relayBits() & 0x08) << "the restart's on, once its off is known carried out";
}

INSTANTIATE_TEST_SUITE_P(Holds, HeldRestart,
                         ::testing::Values(std::make_pair(false, 3.3), std::make_pair(false, 3.4),
                                           std::make_pair(false, 4.0), std::make_pair(true, 3.7)));
