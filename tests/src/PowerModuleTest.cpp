#include "ScriptedModuleFixture.h"

using pmscript::meter;
using pmscript::PowerModuleTest;
using test::Bytes;
using test::pmFrame;

TEST_F(PowerModuleTest, TwoRepliesInOneChunkGiveTwoCallbacksInOrder)
{
    std::vector<std::pair<int, int>> readings;
    container->setMeterDataCallback([&](int port, const _PowerModuleData* d) {
        readings.push_back({port, d->voltageInt});
    });
    reply({meter(255, 231), meter(4, 229)});
    ASSERT_TRUE(test::loopUntil(loop, [&] { return readings.size() == 2; }, 5.0));
    EXPECT_EQ(std::make_pair(255, 231), readings[0]);
    EXPECT_EQ(std::make_pair(4, 229), readings[1]);
}

TEST_F(PowerModuleTest, RepliesForUnknownPortsAreDroppedWithALogLine)
{
    test::LogCapture log;
    std::vector<int> metered, calibrated;
    int relayReplies = 0;
    std::vector<int> counts;
    container->setMeterDataCallback([&](int port, const _PowerModuleData*) { metered.push_back(port); });
    container->setRelayReplyCallback([&](int, unsigned char, unsigned char) { ++relayReplies; });
    container->setStartCalibrateCallback([&](int port, unsigned char) { calibrated.push_back(port); });
    container->setOutputStatusCallback([&](int, int count, unsigned char, unsigned char) { counts.push_back(count); });
    ASSERT_TRUE(module->queryRelayStatusRequest());  // the report below answers it
    ASSERT_TRUE(sentUntil([&] { return statusPollsSent() == 1; }));
    reply({meter(9, 1), meter(254, 1), pmFrame(2, {8, 1, 0}), pmFrame(2, {255, 1, 0}), pmFrame(6, {8, 0}),
           pmFrame(6, {200, 0}), pmFrame(3, {200, 0xFF, 0xFF}),
           // and the good ones behind them
           meter(7, 1), pmFrame(6, {255, 0}), pmFrame(2, {7, 1, 0})});
    ASSERT_TRUE(test::loopUntil(loop, [&] { return relayReplies == 1; }, 5.0));
    EXPECT_EQ(std::vector<int>{7}, metered);
    EXPECT_EQ(std::vector<int>{255}, calibrated);
    EXPECT_EQ(std::vector<int>{8}, counts);  // clamped to the module's outlets
    EXPECT_EQ(2, log.count("meter reply for unknown port"));
    EXPECT_EQ(2, log.count("relay reply for unknown port"));
    EXPECT_EQ(2, log.count("calibration reply for unknown port"));
}

// A refused command (a relay reply with a non-zero result) ends its operation, is not sent again, and shows nothing:
// the outlet shows as reported.
TEST_F(PowerModuleTest, FailedRelayResultStillEndsTheOperationAndStopsRetries)
{
    std::vector<int> results;
    int ended = 0, failed = 0;
    container->setRelayReplyCallback([&](int port, unsigned char, unsigned char r) {
        EXPECT_EQ(3, port);
        results.push_back(r);
    });
    container->setPortOperationEndedCallback([&](int) { ++ended; });
    container->setRelayFailedCallback([&](int, unsigned char) { ++failed; });
    report(0x00);
    ASSERT_TRUE(container->turnOnPort(3, true));
    reply({pmFrame(2, {3, 1, 1})});
    ASSERT_TRUE(test::loopUntil(loop, [&] { return ended == 1; }, 5.0));
    EXPECT_EQ(0, container->shownState(3)) << "refused: shown as reported";
    runFor(1.0);
    EXPECT_EQ(std::vector<int>{1}, results);
    EXPECT_EQ(1, ended);
    EXPECT_EQ(0, failed);
    EXPECT_EQ(1, relayFramesSent());
}

// A relay reply that answers no frame out ends nothing: not while no request awaits a reply, nor while the outlet's
// frame is out, nor once a reply to a later frame has shown that frame lost (a copy goes).
TEST_F(PowerModuleTest, StrayRelayReplyEndsNoOperationOfItsOwn)
{
    int ended = 0;
    container->setPortOperationEndedCallback([&](int) { ++ended; });
    reply({pmFrame(2, {5, 0, 0})});
    runFor(0.3);
    EXPECT_EQ(0, ended);
    EXPECT_EQ(0, relayFramesSent());

    ASSERT_TRUE(container->turnOnPort(5, true));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return relayFramesSent() == 1; }, 5.0));
    reply({pmFrame(2, {5, 0, 0})});
    runFor(0.1);
    EXPECT_EQ(0, ended);
    reply({pmFrame(2, {5, 1, 0})});
    ASSERT_TRUE(test::loopUntil(loop, [&] { return ended == 1; }, 5.0));
    reply({pmFrame(2, {5, 1, 0})});
    runFor(0.3);
    EXPECT_EQ(1, ended) << "ended once";

    ASSERT_TRUE(container->turnOnPort(6, true));
    ASSERT_TRUE(module->queryDataRequest(2));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return meterQueries().size() == 1; }, 5.0));
    reply({meter(2, 230), pmFrame(2, {6, 1, 0})});  // the on lost, then a reply nobody asked for
    ASSERT_TRUE(test::loopUntil(loop, [&] { return relayFramesSent() == 3; }, 1.0)) << "the on's copy";
    EXPECT_EQ(1, ended);
}

// The replies owed fill the window; a reply that frees it moves the line on at once (within the line's lead), not
// when the first frame's wait runs out, 0.2 s after it was carried.
TEST_F(PowerModuleTest, AReplyMovesTheLineOnAtOnce)
{
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(container->turnOnPort(i % 8, false));
    ASSERT_TRUE(test::loopUntil(loop, [&] { return relayFramesSent() >= 32; }, 5.0));
    const int out = relayFramesSent();
    std::vector<Bytes> replies;
    for (int i = 0; i < out; ++i)
        replies.push_back(pmFrame(2, {static_cast<unsigned char>(i % 8), 1, 0}));
    reply(replies);
    EXPECT_TRUE(test::loopUntil(loop, [&] { return relayFramesSent() > out; }, 0.05));
}

// A relay reply that answers no frame out (one of the daemon's previous run, say) ends nothing while the outlet's
// frame still waits for the line: the frame goes, and only a reply to it ends the operation.
TEST_F(PowerModuleTest, AReplyToNoFrameOutEndsNothingWhileTheOutletsFrameWaits)
{
    int ended = 0;
    container->setPortOperationEndedCallback([&](int port) { ended += port == 3; });
    for (int i = 0; i < 150; ++i)  // far more than the line carries at once
        ASSERT_TRUE(container->turnOnPort(i % 3, false));
    ASSERT_TRUE(container->turnOffPort(3, true));
    ASSERT_TRUE(module->relayFrameWaiting(3));
    reply({pmFrame(2, {3, 0, 0})});
    runFor(0.2);
    EXPECT_EQ(0, ended);
    ASSERT_TRUE(test::loopUntil(loop, [&] { return relayFramesSent() == 151; }, 10.0));
    reply({pmFrame(2, {3, 0, 0})});
    runFor(0.1);
    EXPECT_EQ(1, ended);
}

// The pace the line's backlog is counted at, measured under load: down at once to a far end that turns slower, so
// what waits is not taken for less than it is.
TEST_F(PowerModuleTest, ThePaceFollowsAFarEndTurningSlowerDownAtOnce)
{
    const int frames = 800;
    for (int i = 0; i < frames; ++i)
        ASSERT_TRUE(container->turnOnPort(i % 8, false));
    int answered = 0;
    auto answer = [&](int most) {
        std::vector<Bytes> replies;
        for (const int sent = relayFramesSent(); answered < sent && most-- > 0; ++answered)
            replies.push_back(pmFrame(2, {static_cast<unsigned char>(answered % 8), 1, 0}));
        if (!replies.empty())
            reply(replies);
    };
    muduo::net::TimerId fast = loop.runEvery(0.005, [&] { answer(frames); });
    runFor(1.0);
    loop.cancel(fast);
    muduo::net::TimerId slow = loop.runEvery(0.0125, [&] { answer(1); });  // 480 bytes a second
    runFor(1.6);
    loop.cancel(slow);
    EXPECT_GT(module->lineBehind(), 0.75 * (frames - relayFramesSent()) * 6 / 480.0);
}

// Back from a quiet spell with frames out past their wait, the module gets a marker first in line: a query no poll
// asks, the calibration parameters'. Its reply is the line's own, and drops what went before it unanswered; answering
// all the while after, no other marker goes. With the calibration pages' own query out, none goes.
TEST_F(PowerModuleTest, AMarkerIsAQueryNoFrameOutAsks)
{
    int caliReplies = 0;
    container->setCaliParamCallback(
        [&](int, unsigned short, unsigned short, unsigned short, unsigned char) { ++caliReplies; });
    const Bytes cali = pmFrame(4, {0, 220, 0x03, 0xE8, 0, 220, 0});
    ASSERT_TRUE(module->queryDataRequest(5));
    ASSERT_TRUE(container->turnOnPort(4, false));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 1; }));
    runFor(0.3);
    reply({meter(5, 230)});
    ASSERT_TRUE(sentUntil([&] { return caliQueriesSent() == 1; }));
    EXPECT_TRUE(module->relayFrameOut(4));
    reply({cali});
    runFor(0.05);
    EXPECT_EQ(0, caliReplies) << "the line's own";
    EXPECT_FALSE(module->relayFrameOut(4)) << "never heard";
    ASSERT_TRUE(module->queryDataRequest(0));
    runFor(0.05);
    reply({meter(0, 230)});
    runFor(0.3);
    EXPECT_EQ(1, caliQueriesSent()) << "answering: no other marker";

    ASSERT_TRUE(container->turnOnPort(4, false));
    ASSERT_TRUE(module->queryDataRequest(5));
    ASSERT_TRUE(container->requestCaliParam());
    ASSERT_TRUE(sentUntil([&] { return caliQueriesSent() == 2; }));
    runFor(0.3);
    reply({meter(5, 230)});
    runFor(0.3);
    EXPECT_EQ(2, caliQueriesSent()) << "the pages' query out: no marker";
    reply({cali});
    runFor(0.05);
    EXPECT_EQ(1, caliReplies) << "the pages' own";
}
