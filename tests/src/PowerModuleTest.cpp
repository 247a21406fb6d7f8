// The module and container against a scripted line: a pty linked at the
// board's /dev/ttyS10 whose far end the test writes by hand.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <algorithm>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "PowerModule.h"
#include "PowerModuleContainer.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/TestFrames.h"

namespace
{
using test::Bytes;
using test::pmFrame;

Bytes meter(unsigned char port, unsigned char volts)
{
    Bytes p(19, 0);
    p[0] = port;
    p[2] = volts;
    return pmFrame(1, p);
}

class PowerModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::mkdir(board::path("/dev").c_str(), 0755);
        link_ = board::path("/dev/ttyS10");
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(0, ::grantpt(master_));
        ASSERT_EQ(0, ::unlockpt(master_));
        ::unlink(link_.c_str());
        ASSERT_EQ(0, ::symlink(::ptsname(master_), link_.c_str()));
        container = std::make_shared<PowerModuleContainer>(&loop);
        module = container->createPowerModule(&loop, 0, true, true);
        container->addPowerModule(module);
        container->startRead();
    }

    void TearDown() override
    {
        container.reset();
        module.reset();
        ::unlink(link_.c_str());
        ::close(master_);
    }

    void reply(const std::vector<Bytes>& frames)
    {
        Bytes all;
        for (const auto& f : frames)
            all.insert(all.end(), f.begin(), f.end());
        ASSERT_EQ(static_cast<ssize_t>(all.size()), ::write(master_, all.data(), all.size()));
    }

    // Relay frames the module sent so far, as (port, action).
    std::vector<std::pair<int, int>> relayFrames()
    {
        unsigned char buf[256];
        ssize_t n;
        while ((n = ::read(master_, buf, sizeof buf)) > 0)
            sent_.insert(sent_.end(), buf, buf + n);
        std::vector<std::pair<int, int>> frames;
        for (size_t i = 0; i + 4 < sent_.size(); ++i)
            if (sent_[i] == 0xA5 && sent_[i + 1] == 2)
                frames.push_back({sent_[i + 2], sent_[i + 3]});
        return frames;
    }
    int relayFramesSent() { return static_cast<int>(relayFrames().size()); }
    // The ports of the meter queries the module sent so far.
    std::vector<int> meterQueries()
    {
        relayFrames();
        std::vector<int> ports;
        for (size_t i = 0; i + 3 < sent_.size(); ++i)
            if (sent_[i] == 0xA5 && sent_[i + 1] == 1 && ((1 + sent_[i + 2]) & 0xFF) == sent_[i + 3])
                ports.push_back(sent_[i + 2]);
        return ports;
    }
    // Status polls the module sent so far.
    int statusPollsSent()
    {
        relayFrames();
        int count = 0;
        for (size_t i = 0; i + 2 < sent_.size(); ++i)
            count += sent_[i] == 0xA5 && sent_[i + 1] == 3 && sent_[i + 2] == 3;
        return count;
    }
    bool sentUntil(const std::function<bool()>& done) { return test::loopUntil(loop, done, 5.0); }

    void runFor(double s) { test::loopUntil(loop, [] { return false; }, s); }

    muduo::net::EventLoop loop;
    std::shared_ptr<PowerModuleContainer> container;
    std::shared_ptr<PowerModule> module;

private:
    std::string link_;
    int master_ = -1;
    Bytes sent_;
};
}

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
    ASSERT_TRUE(container->turnOnPort(3, true));
    reply({pmFrame(2, {3, 1, 1})});
    ASSERT_TRUE(test::loopUntil(loop, [&] { return ended == 1; }, 5.0));
    runFor(1.0);
    EXPECT_EQ(std::vector<int>{1}, results);
    EXPECT_EQ(1, ended);
    EXPECT_EQ(0, failed);
    EXPECT_EQ(1, relayFramesSent());
}

// A relay reply that answers no frame out ends nothing while no request awaits a reply, nor while the outlet's
// frame is out.
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

// Restarts whose off is never answered: a report of a poll the module heard after the off, showing the outlet off,
// arms the on at once; an outlet a report showed off before the restart counts as off already, its on following
// the off's wait, unless an on of it went since; one reported on ends failed, and never switches on.
TEST_F(PowerModuleTest, ARestartsOffKnownFromTheReport)
{
    int failed = 0;
    container->setRelayFailedCallback([&](int, unsigned char) { ++failed; });
    auto report = [&](unsigned char on) {
        const int polls = statusPollsSent();
        ASSERT_TRUE(module->queryRelayStatusRequest());
        ASSERT_TRUE(sentUntil([&] { return statusPollsSent() > polls; }));
        reply({pmFrame(3, {8, on, 0xFF})});
        runFor(0.02);
    };
    ASSERT_TRUE(container->restartPort(2, 1, true));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 1; }));
    report(0x40);
    runFor(1.1);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 0}, {2, 1}}), relayFrames()) << "no copy of the off";

    report(0x40);  // outlets 4 and 5 off, outlet 6 on: all heard
    ASSERT_TRUE(container->turnOnPort(4, false));  // after the report: it may be on
    ASSERT_TRUE(sentUntil([&] { return relayFrames().back() == std::make_pair(4, 1); }));
    reply({pmFrame(2, {4, 1, 0})});
    ASSERT_TRUE(container->restartPort(4, 1, false));
    ASSERT_TRUE(container->restartPort(5, 1, false));
    ASSERT_TRUE(container->restartPort(6, 1, false));
    runFor(1.6);
    auto frames = relayFrames();
    EXPECT_EQ(1, std::count(frames.begin(), frames.end(), std::make_pair(5, 0)));
    EXPECT_EQ(1, std::count(frames.begin(), frames.end(), std::make_pair(5, 1))) << "its on, after the off's wait";
    for (int port : {4, 6})
    {
        EXPECT_EQ(1, std::count(frames.begin(), frames.end(), std::make_pair(port, 0))) << port;
        EXPECT_EQ(port == 4, std::count(frames.begin(), frames.end(), std::make_pair(port, 1))) << port;
    }
    EXPECT_EQ(4, failed) << "the restarts of outlets 4 and 6, and the ons of outlets 2 and 5, unanswered";
}

// Back from a quiet spell with frames out past their wait, the module gets a meter poll first in line as a marker,
// for the first port from the poll's turn that no frame out asks after.
TEST_F(PowerModuleTest, AMarkerAsksAfterAPortNoFrameOutAsks)
{
    module->startQueryMeterData(60.0);  // its turn at the inlet, no poll of its own for a while
    for (int port : {5, 255, 0})
        ASSERT_TRUE(module->queryDataRequest(port));
    ASSERT_TRUE(sentUntil([&] { return meterQueries().size() == 3; }));
    runFor(0.3);
    reply({meter(5, 230)});
    ASSERT_TRUE(sentUntil([&] { return meterQueries().size() == 4; }));
    EXPECT_EQ(1, meterQueries().back()) << "not the inlet's nor outlet 0's, which are out";
    reply({meter(255, 230), meter(0, 230)});
    runFor(0.3);
    EXPECT_EQ(4u, meterQueries().size()) << "answering: no other marker";
}

// A report naming fewer outlets than the module has says nothing of the others: the loop leaves them alone.
TEST_F(PowerModuleTest, AReportOfFewerOutletsLeavesTheOthersAlone)
{
    ASSERT_TRUE(container->turnOffPort(4, false));
    ASSERT_TRUE(sentUntil([&] { return relayFramesSent() == 1; }));
    reply({pmFrame(2, {4, 0, 0})});
    runFor(0.05);
    const int polls = statusPollsSent();
    ASSERT_TRUE(module->queryRelayStatusRequest());
    ASSERT_TRUE(sentUntil([&] { return statusPollsSent() > polls; }));
    reply({pmFrame(3, {4, 0x10, 0xFF})});  // four outlets; outlet 4's bit beyond them
    runFor(0.3);
    EXPECT_EQ(1, relayFramesSent());
}
