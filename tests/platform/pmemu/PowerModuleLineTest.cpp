// The power module's line under a flood of switching requests: what waits
// for it stays bounded, and the unit's own frames do not wait behind a
// peer's.
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "GlobalData.h"
#include "OutletAction.h"
#include "PowerModuleFixture.h"
#include "muduo/net/Buffer.h"
#include "support/TestFrames.h"

using pmtest::Clock;
using pmtest::requestsOf;
using pmtest::seconds;

namespace
{
class PowerModuleLine : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override {}  // each case sets up the line it needs
    void flood(int replyPace);
};
}

// A module that takes nothing from its line: requests that switch at once are refused, whole, once the line is a
// bounded time behind; delayed ones and the unit's own are still accepted.
TEST_F(PowerModuleLine, RequestsThatSwitchAtOnceAreRefusedWhileTheLineIsBackedUp)
{
    ::mkdir(board::path("/dev").c_str(), 0755);
    pmemu::PmPty unread;
    std::string error;
    ASSERT_TRUE(unread.open(board::path("/dev/ttyS10"), error)) << error;
    container = std::make_shared<PowerModuleContainer>(&loop);
    module = container->createPowerModule(&loop, 0, false, false);
    container->addPowerModule(module);
    _Device& device = GlobalData::getDevice();
    const int outlets = std::exchange(device.portCount, 8);
    const OutletAction action(*container);
    int accepted = 0;
    while (accepted < 1000000 && action.applyList({accepted % 8, (accepted + 1) % 8}, accepted % 2))
        ++accepted;
    // At half the line's pace (a module that answers nothing), before the line has gone under load.
    EXPECT_GT(accepted, 50);
    EXPECT_LT(accepted, 1000000);
    // What the device was given drains with time (a frame beyond PacedLine::kLead at most), the queue does not.
    double behind = module->lineBehind();
    EXPECT_GE(behind, PowerModule::kMaxLineWait - 0.05);
    EXPECT_LT(behind, PowerModule::kMaxLineWait + 0.05);
    for (int port = 0; port < 16; ++port)  // the overload cut-off is never refused
        EXPECT_TRUE(container->turnOffPort(port % 8, false));
    EXPECT_GT(module->lineBehind(), behind);
    behind = module->lineBehind();  // now beyond the bound by more than the device can drain
    EXPECT_FALSE(action.applyOnOff(0x01, 0x02));
    EXPECT_FALSE(container->roomOnLine());
    EXPECT_LE(module->lineBehind(), behind) << "nothing of a refused request was queued";
    const int onDelay = std::exchange(device.portDelays[3].onDelay, 3600);
    EXPECT_TRUE(action.apply(3, 1)) << "a delayed request waits for its time, not for the line";
    device.portDelays[3].onDelay = onDelay;
    device.portCount = outlets;
}

// A peer flooding switching requests of outlets 0 to 5 faster than the line carries them, to a module that reads
// at the line's pace and answers at replyPace: some are refused, each accepted one reaches the module once, in the
// order asked, and so do the unit's own (a delayed off of outlet 6, the overload cut-off of outlet 7), within
// about 1 s of their time (the flood's first second, counted at half the line's pace, within 2 s). The replies
// waiting in the module stay within half a second of its return line. The polls go ahead of the flood, one of a
// kind at a time: every reading keeps its rhythm.
void PowerModuleLine::flood(int replyPace)
{
    PowerModuleFixture::SetUp();
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    emu.setReplyPace(replyPace);
    makeContainer();
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    _Device& device = GlobalData::getDevice();
    const int outlets = std::exchange(device.portCount, 8);
    const OutletAction action(*container);
    size_t replies = 0, backlog = 0;
    container->setRelayReplyCallback([&](int, unsigned char, unsigned char) { ++replies; });
    container->setMeterDataCallback([&](int, const _PowerModuleData*) { ++replies; });
    container->setOutputStatusCallback([&](int, int, unsigned char, unsigned char) { ++replies; });
    muduo::net::TimerId watch = loop.runEvery(0.1, [&] { backlog = std::max(backlog, emu.repliesSent() - replies); });
    struct Asked
    {
        int port, action;
        Clock::time_point at;
    };
    std::vector<Asked> accepted;
    int asked = 0, refused = 0;
    // 48 bytes of line a millisecond: far beyond it, even on a slow machine or under emulation.
    muduo::net::TimerId flood = loop.runEvery(0.001, [&] {
        for (int i = 0; i < 4; ++i, ++asked)
        {
            const std::vector<int> ports = {asked % 6, (asked + 3) % 6};
            if (!action.applyList(ports, asked % 2))
                ++refused;
            else
                for (int port : ports)
                    accepted.push_back({port, asked % 2, Clock::now()});
        }
    });
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(container->turnOffPortAfter(6, 2, true));
    bool cutOff = false;
    loop.runAfter(3.0, [&] { cutOff = container->turnOffPort(7, true); });
    runFor(5.0);
    loop.cancel(flood);
    loop.cancel(watch);
    device.portCount = outlets;
    const Clock::time_point floodEnd = Clock::now();
    runUntil([&] { return requestsOf(emu, 2).size() >= accepted.size() + 2; }, 5.0);
    runFor(1.0);  // time for any frame sent again
    EXPECT_TRUE(cutOff);
    EXPECT_GT(refused, 0);
    EXPECT_GT(accepted.size(), 200u);
    std::vector<std::pair<int, double>> ownFrames;  // port, seconds after its time
    size_t next = 0;
    double latest = 0;
    for (const auto& frame : requestsOf(emu, 2))
    {
        const int port = frame.payload[0], act = frame.payload[1];
        if (port >= 6)
            ownFrames.push_back({port * 2 + act, seconds(frame.received - start) - (port == 6 ? 2.0 : 3.0)});
        else if (next < accepted.size() && accepted[next].port == port && accepted[next].action == act)
            latest = std::max(latest, seconds(frame.received - accepted[next++].at));
        else
        {
            ADD_FAILURE() << "frame " << next << " for outlet " << port << " is not the one asked next";
            break;
        }
    }
    EXPECT_EQ(accepted.size(), next) << "each accepted frame once";
    ASSERT_EQ(2u, ownFrames.size()) << "the unit's own frames once each";
    EXPECT_EQ(12, ownFrames[0].first);
    EXPECT_EQ(14, ownFrames[1].first);
    EXPECT_LT(std::max(ownFrames[0].second, ownFrames[1].second), 1.6);
    EXPECT_LT(latest, 2.0);
    EXPECT_LT(backlog * 6, replyPace / 2u) << "relay replies waiting in the module";
    std::vector<double> meterPolls;
    for (const auto& query : requestsOf(emu, 1))
        if (query.received < floodEnd && query.payload[0] == 4)
            meterPolls.push_back(seconds(query.received - start));
    ASSERT_GE(meterPolls.size(), 4u) << "outlet 4's reading, about every 0.9 s";
    for (size_t i = 1; i < meterPolls.size(); ++i)
        EXPECT_LT(meterPolls[i] - meterPolls[i - 1], 1.5) << "outlet 4's meter polls at " << meterPolls[i];
    EXPECT_EQ(0u, pmtest::meterTurnsSkipped(emu));
}

TEST_F(PowerModuleLine, AFloodHoldsBackNeitherTheUnitsOwnSwitchingNorAnAcceptedCommand)
{
    flood(PowerModule::kLineBytesPerSecond);
}

// Its replies a little slower than the line (a UART with gaps, a firmware turning each frame around): the frames
// go no faster than the replies come, so the replies do not fall further behind with every second of the flood.
TEST_F(PowerModuleLine, AFloodToAModuleAnsweringSlowerThanTheLineKeepsEveryReplyWithinItsWait)
{
    flood(PowerModule::kLineBytesPerSecond * 9 / 10);
}

// A firmware slow to turn each frame around: its replies at 40 % of the line's pace set the pace, however long the
// flood; their waits begin behind the replies owed before them.
TEST_F(PowerModuleLine, AFloodToAModuleAnsweringFarSlowerThanTheLineFollowsItsPace)
{
    flood(PowerModule::kLineBytesPerSecond * 2 / 5);
}

// A module answering at the line's pace: a burst the line carries within a second is accepted whole.
TEST_F(PowerModuleLine, ABurstTheLineCarriesWithinASecondIsAccepted)
{
    PowerModuleFixture::SetUp();
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    makeContainer();
    container->startQueryAllPortsMeterData(0.1);
    runFor(1.0);  // the time its replies take is known
    const int outlets = std::exchange(GlobalData::getDevice().portCount, 8);
    int accepted = 0;
    for (int i = 0; i < 40; ++i)  // 200 frames: 1,200 bytes of line each way, 0.63 s
        accepted += OutletAction(*container).applyList({i % 8, (i + 1) % 8, (i + 2) % 8, (i + 3) % 8, (i + 4) % 8}, 1);
    GlobalData::getDevice().portCount = outlets;
    EXPECT_EQ(40, accepted);
}

// The device holds bytes back (its buffer is full) until the far end reads: then the line moves on by itself, the
// frames still waiting and the polls too, with no new request to push it. The far end answers each frame in turn
// (its replies handed to the module by hand), so the line goes at its pace until the device's buffer is full.
TEST_F(PowerModuleLine, WhenTheDeviceDrainsTheLineMovesOn)
{
    struct Fifo  // gone after the case, so the next one can link its pty there
    {
        const std::string path = board::path("/dev/ttyS10");
        ~Fifo() { ::unlink(path.c_str()); }
    } fifo;
    const std::string& path = fifo.path;
    ::mkdir(board::path("/dev").c_str(), 0755);
    ::unlink(path.c_str());
    ASSERT_EQ(0, ::mkfifo(path.c_str(), 0600));
    const int farEnd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(farEnd, 0);
    const int room = ::fcntl(farEnd, F_SETPIPE_SZ, 4096);
    ASSERT_GE(room, 4096);
    container = std::make_shared<PowerModuleContainer>(&loop);
    module = container->createPowerModule(&loop, 0, true, true);
    container->addPowerModule(module);  // not read: the FIFO would give the daemon its own frames
    int answered = 0;
    muduo::net::TimerId answering = loop.runEvery(0.002, [&] {
        const test::Bytes reply = test::pmFrame(2, {static_cast<unsigned char>(answered++ % 8), 1, 0});
        muduo::net::Buffer buf;
        buf.append(reply.data(), reply.size());
        module->handleRead(&buf, muduo::Timestamp::now());
    });
    const int frames = room / 5 + 100;
    for (int i = 0; i < frames; ++i)
        ASSERT_TRUE(container->turnOnPort(i % 8, false));
    container->startQueryAllOutputsStatus(0.1);  // one of each kind waits, and asks nothing more meanwhile
    container->startQueryAllPortsMeterData(0.1);
    const auto held = [&] { return module->serialPort()->fileHandler()->outputBytes() > 0; };
    ASSERT_TRUE(runUntil(held, 2.0 * frames * 6 / PowerModule::kLineBytesPerSecond));
    std::string bytes;
    char buf[4096];
    ssize_t n;
    size_t relayFrames = 0;
    auto count = [&](const char* frame) {
        size_t found = 0;
        for (size_t at = bytes.find(frame); at != std::string::npos; at = bytes.find(frame, at + 1))
            ++found;
        return found;
    };
    // What the device held is the buffer's room: the drain is the rest.
    runUntil([&] {
        while ((n = ::read(farEnd, buf, sizeof buf)) > 0)
            bytes.append(buf, static_cast<size_t>(n));
        relayFrames = count("\xA5\x02");
        return relayFrames >= static_cast<size_t>(frames) && bytes.find("\xA5\x03\x03", room) != std::string::npos &&
               bytes.find("\xA5\x01", room) != std::string::npos;
    }, 5.0);
    ::close(farEnd);
    loop.cancel(answering);
    EXPECT_EQ(static_cast<size_t>(frames), relayFrames);
    EXPECT_NE(std::string::npos, bytes.find("\xA5\x03\x03", room)) << "no status poll after the drain";
    EXPECT_NE(std::string::npos, bytes.find("\xA5\x01", room)) << "no meter poll after the drain";
}

// Something on the module's line puts a relay reply of outlet 7 on it every 0.1 s, nobody asking (a second talker,
// a confused firmware), and the module once misses what it is sent for a second: the replies that answer nothing
// hold nothing up, the frames it missed are not owed for good, and a command 5 s in reaches it within 2 s.
TEST_F(PowerModuleLine, RepliesNobodyAskedForHoldNothingUp)
{
    PowerModuleFixture::SetUp();
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    makeContainer();
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    emu.setChatter(7, 1, std::chrono::milliseconds(100));
    runFor(1.0);
    emu.setFaults({1.0, 0, 0}, 1);  // deaf
    runFor(1.0);
    emu.setFaults({}, 1);
    runFor(3.0);
    const Clock::time_point asked = Clock::now();
    ASSERT_TRUE(container->turnOnPort(3, true));
    ASSERT_TRUE(runUntil([&] { return !requestsOf(emu, 2).empty(); }, 5.0)) << "the on never reached the module";
    EXPECT_LT(seconds(requestsOf(emu, 2).front().received - asked), 2.0);
    const size_t polls = requestsOf(emu, 3).size();
    runFor(1.0);
    EXPECT_GE(requestsOf(emu, 3).size(), polls + 1) << "the status poll goes on";
    EXPECT_GT(emu.chatterSent(), 40u);
}
