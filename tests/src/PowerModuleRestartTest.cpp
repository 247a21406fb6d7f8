// Restarts and the module's status report, against a scripted line.
#include "ScriptedModuleFixture.h"

using pmscript::meter;
using pmscript::PowerModuleTest;
using test::Bytes;
using test::pmFrame;

// A restart's switch-on waits until its off is known carried out. A reply that may answer an earlier off of the
// outlet (held, while the restart's own off was lost) is not that: the off goes again, and the on follows its
// delay after the reply to that copy.
TEST_F(PowerModuleTest, ARestartsOnWaitsForAReplyToItsOwnOff)
{
    int ended = 0, failed = 0;
    container->setPortOperationEndedCallback([&](int) { ++ended; });
    container->setRelayFailedCallback([&](int, unsigned char) { ++failed; });
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(container->restartPort(3, 1, true));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 2; }));
    runFor(0.05);
    reply({pmFrame(2, {3, 0, 0})});
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 3; }));
    EXPECT_EQ(std::make_pair(3, 0), relayFrames()[2]) << "the restart's off again, not its on";
    reply({pmFrame(2, {3, 0, 0})});
    const auto answered = std::chrono::steady_clock::now();
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 4; }));
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - answered).count(), 0.95);
    EXPECT_EQ(std::make_pair(3, 1), relayFrames()[3]);
    reply({pmFrame(2, {3, 1, 0})});
    ASSERT_TRUE(sentUntil([&] { return ended == 2; }));
    EXPECT_EQ(0, failed);
}

// An outlet reported off before is off already: a reply that may answer an earlier off of it ends the restart's off
// half, its on following its delay, no copy of the off between.
TEST_F(PowerModuleTest, ARestartOfAnOutletOffAlreadyTakesAnEarlierOffsReply)
{
    report(0x00);
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(container->restartPort(3, 1, true));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 2; }));
    runFor(0.05);
    reply({pmFrame(2, {3, 0, 0})});
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 3; }));
    EXPECT_EQ(std::make_pair(3, 1), relayFrames()[2]) << "its on, not its off again";
}

// Restarts whose off is never answered: a report of a poll the module heard after the off, showing the outlet off,
// arms the on at once; an outlet a report showed off before the restart counts as off already, its on following
// the off's wait, unless an on of it went since, answered or not; one reported on ends failed, and never switches on.
TEST_F(PowerModuleTest, ARestartsOffKnownFromTheReport)
{
    int failed = 0;
    container->setRelayFailedCallback([&](int, unsigned char) { ++failed; });
    ASSERT_TRUE(container->restartPort(2, 1, true));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 1; }));
    report(0x40);
    runFor(1.1);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 0}, {2, 1}}), relayFrames()) << "no copy of the off";

    report(0x40);  // outlets 4 and 5 off, outlet 6 on: all heard
    ASSERT_TRUE(container->turnOnPort(4, false));  // after the report: it may be on
    ASSERT_TRUE(sentUntil([&] { return relayFrames().back() == std::make_pair(4, 1); }));
    reply({pmFrame(2, {4, 1, 0})});
    ASSERT_TRUE(container->turnOnPort(7, false));  // carried out, its reply not come
    ASSERT_TRUE(sentUntil([&] { return relayFrames().back() == std::make_pair(7, 1); }));
    ASSERT_TRUE(container->restartPort(4, 1, false));
    ASSERT_TRUE(container->restartPort(5, 1, false));
    ASSERT_TRUE(container->restartPort(6, 1, false));
    ASSERT_TRUE(container->restartPort(7, 1, false));
    runFor(1.6);
    auto frames = relayFrames();
    EXPECT_EQ(1, std::count(frames.begin(), frames.end(), std::make_pair(5, 0)));
    EXPECT_EQ(1, std::count(frames.begin(), frames.end(), std::make_pair(5, 1))) << "its on, after the off's wait";
    for (int port : {4, 6, 7})
    {
        EXPECT_EQ(1, std::count(frames.begin(), frames.end(), std::make_pair(port, 0))) << port;
        EXPECT_EQ(port != 6, std::count(frames.begin(), frames.end(), std::make_pair(port, 1))) << port;
    }
    EXPECT_EQ(5, failed) << "the restarts of outlets 4, 6 and 7, and the ons of outlets 2 and 5, unanswered";
}

// A report naming fewer outlets than the module has says nothing of the others: the loop leaves them alone, they
// show as before (or as not known yet), and a restart of one whose off is lost does not count it off already.
TEST_F(PowerModuleTest, AReportOfFewerOutletsLeavesTheOthersAlone)
{
    int failed = 0;
    container->setRelayFailedCallback([&](int, unsigned char) { ++failed; });
    ASSERT_TRUE(container->turnOffPort(4, false));
    ASSERT_TRUE(container->turnOnPort(5, false));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 2; }));
    reply({pmFrame(2, {4, 0, 0}), pmFrame(2, {5, 1, 0})});
    runFor(0.05);
    report(0x10, 4);  // outlet 4's bit beyond them
    runFor(0.3);
    EXPECT_EQ(2, relayFramesSent());
    EXPECT_EQ(0, container->shownState(0));
    EXPECT_EQ(0, container->shownState(4));
    EXPECT_EQ(1, container->shownState(5));
    EXPECT_EQ(-1, container->shownState(6)) << "no report named it";

    ASSERT_TRUE(container->restartPort(5, 1, false));  // its off never answered
    runFor(1.6);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{4, 0}, {5, 1}, {5, 0}}), relayFrames()) << "no on after the off";
    EXPECT_EQ(1, failed);
}

// A restart whose off the module refuses (a non-zero result) ends there: its on never follows, and the outlet shows
// as reported.
TEST_F(PowerModuleTest, ARestartWhoseOffIsRefusedEndsThere)
{
    int ended = 0;
    container->setPortOperationEndedCallback([&](int) { ++ended; });
    report(0x08);
    ASSERT_TRUE(container->restartPort(3, 1, true));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 1; }));
    reply({pmFrame(2, {3, 0, 1})});
    ASSERT_TRUE(sentUntil([&] { return ended == 1; }));
    runFor(1.5);  // past the restart delay
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 0}}), relayFrames()) << "no on";
    EXPECT_EQ(1, ended);
    EXPECT_EQ(1, container->shownState(3));
}

// A restart whose off failed, carried out though its reply was lost: the report of a poll after it, finding the
// outlet off, goes on to the on as an operation of the outlet again, which the on's reply ends.
TEST_F(PowerModuleTest, ARestartFoundOffAfterItsOffFailedIsUnderWayAgain)
{
    test::LogCapture log;
    int started = 0, ended = 0;
    container->setPortOperationStartedCallback([&](int port) { started += port == 3; });
    container->setPortOperationEndedCallback([&](int port) { ended += port == 3; });
    ASSERT_TRUE(container->restartPort(3, 1, false));
    ASSERT_TRUE(sentUntil([&] { return ended == 1; }));
    report(0x00);
    EXPECT_EQ(1, log.count("port:3 found off, its restart goes on"));
    EXPECT_EQ(2, started) << "under way while its on waits";
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 2; }));
    EXPECT_EQ(std::make_pair(3, 1), relayFrames()[1]);
    reply({pmFrame(2, {3, 1, 0})});
    ASSERT_TRUE(sentUntil([&] { return ended == 2; }));
    EXPECT_EQ(2, started);
}

// A report of four outlets names outlet 3 and none past it: outlet 3, found off, shows off and is switched on again;
// outlet 4, its bit off beyond the four, still shows its acknowledged on, and its restart, the off lost, does not
// count it off already.
TEST_F(PowerModuleTest, AReportOfFewerOutletsEndsAtItsLastOutlet)
{
    ASSERT_TRUE(container->turnOnPort(3, false));
    ASSERT_TRUE(container->turnOnPort(4, false));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 2; }));
    reply({pmFrame(2, {3, 1, 0}), pmFrame(2, {4, 1, 0})});
    runFor(0.05);
    report(0x00, 4);
    EXPECT_EQ(0, container->shownState(3));
    EXPECT_EQ(1, container->shownState(4));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 3; }));
    EXPECT_EQ(std::make_pair(3, 1), relayFrames()[2]) << "the loop's try";
    reply({pmFrame(2, {3, 1, 0})});

    ASSERT_TRUE(container->restartPort(4, 1, false));  // its off never answered
    runFor(1.6);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 1}, {4, 1}, {3, 1}, {4, 0}}), relayFrames()) << "no on";
}

// A status report no poll out asks for (a second talker, a firmware repeating its last report) changes nothing shown
// or known, before the first poll or after: outlet 3, reported off by the answer to the unit's poll, stays off, and
// nobody is told of the stray ones; a log line says so, at a bounded rate.
TEST_F(PowerModuleTest, AReportNoPollAskedForChangesNothing)
{
    test::LogCapture log;
    std::vector<int> told;
    container->setOutputStatusCallback([&](int, int, unsigned char on, unsigned char) { told.push_back(on); });
    const Bytes stray = pmFrame(3, {8, 0x08, 0xFF});
    reply({stray});
    runFor(0.1);
    EXPECT_EQ(-1, container->shownState(3));
    report(0x00);
    reply({stray, stray});
    runFor(0.1);
    EXPECT_EQ(0, container->shownState(3));
    EXPECT_EQ(std::vector<int>{0x00}, told);
    EXPECT_EQ(1, log.count("status report no poll asked for, dropped"));
}
