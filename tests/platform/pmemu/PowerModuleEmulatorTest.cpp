#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <mutex>
#include <thread>

#include "PowerModuleEmulator.h"
#include "PowerModuleFixture.h"

using pmemu::PowerModuleEmulator;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using pmtest::seconds;
using std::chrono::milliseconds;

namespace
{
std::string linkPath()
{
    return std::string(std::getenv("RAILBOX_ROOT")) + "/dev/ttyS10";
}

// The daemon's end of the line: the pty slave opened through the link.
class LineEnd
{
public:
    explicit LineEnd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~LineEnd() { ::close(fd_); }
    bool ok() const { return fd_ >= 0; }

    void send(const Bytes& bytes) { ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

    // Reads until n bytes arrived or the time-out passed.
    Bytes receive(size_t n, milliseconds timeout = milliseconds(3000))
    {
        Bytes got;
        const Clock::time_point end = Clock::now() + timeout;
        while (got.size() < n && Clock::now() < end)
        {
            pollfd p{fd_, POLLIN, 0};
            const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now()).count();
            if (::poll(&p, 1, static_cast<int>(left > 0 ? left : 0)) <= 0)
                continue;
            uint8_t buf[256];
            const ssize_t r = ::read(fd_, buf, std::min(sizeof buf, n - got.size()));
            if (r > 0)
            {
                got.insert(got.end(), buf, buf + r);
            }
        }
        return got;
    }

    Bytes exchange(const Bytes& request, size_t replyLength, milliseconds timeout = milliseconds(3000))
    {
        send(request);
        return receive(replyLength, timeout);
    }

private:
    int fd_;
};

const Bytes kInletQuery{0xA5, 0x01, 0xFF, 0x00};  // its reply has 22 bytes

Bytes repeated(const Bytes& bytes, int n)
{
    Bytes out;
    for (int i = 0; i < n; ++i)
        out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

class PowerModuleEmulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(emu.start(&error)) << error;
        emu.model().setEnergyRate(0);
        line = std::make_unique<LineEnd>(linkPath());
        ASSERT_TRUE(line->ok());
    }

    PowerModuleEmulator emu{linkPath()};
    std::unique_ptr<LineEnd> line;
};
}

TEST_F(PowerModuleEmulatorTest, AnswersEveryRequestByteByByte)
{
    emu.model().setCurrent(3, 1.25);
    emu.model().setEnergy(3, 1234567);
    emu.model().setRelay(3, true);
    EXPECT_EQ(line->exchange({0xA5, 0x01, 0x03, 0x04}, 22),
              (Bytes{0xA5, 0x01, 0x03, 0x00, 0xE6, 0x00, 0x00, 0x00, 0x01, 0x00, 0x19, 0x01, 0x1F,
                     0x00, 0x32, 0x00, 0x00, 0x30, 0x39, 0x00, 0x43, 0x02}));
    // The inlet: 230 V, 1.25 A, 287.5 W, no energy yet.
    EXPECT_EQ(line->exchange({0xA5, 0x01, 0xFF, 0x00}, 22),
              (Bytes{0xA5, 0x01, 0xFF, 0x00, 0xE6, 0x00, 0x00, 0x00, 0x01, 0x00, 0x19, 0x01, 0x1F,
                     0x00, 0x32, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x52}));
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x02, 0x01, 0x05}, 6), (Bytes{0xA5, 0x02, 0x02, 0x01, 0x00, 0x05}));
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6), (Bytes{0xA5, 0x03, 0x08, 0x0C, 0xFF, 0x16}));
    EXPECT_EQ(line->exchange({0xA5, 0x04, 0x04}, 10),
              (Bytes{0xA5, 0x04, 0x00, 0xDC, 0x03, 0xE8, 0x00, 0xDC, 0x00, 0xA7}));
    EXPECT_EQ(line->exchange({0xA5, 0x05, 0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF, 0x4A}, 4), (Bytes{0xA5, 0x05, 0x00, 0x05}));
    EXPECT_EQ(line->exchange({0xA5, 0x04, 0x04}, 10),
              (Bytes{0xA5, 0x04, 0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x49}));
    EXPECT_EQ(line->exchange({0xA5, 0x06, 0x03, 0x09}, 5), (Bytes{0xA5, 0x06, 0x03, 0x00, 0x09}));
    // Outlet 5 is off and outlet 0 (the inlet's load path) too: calibration fails.
    EXPECT_EQ(line->exchange({0xA5, 0x06, 0x05, 0x0B}, 5), (Bytes{0xA5, 0x06, 0x05, 0x01, 0x0C}));
    EXPECT_EQ(line->exchange({0xA5, 0x06, 0xFF, 0x05}, 5), (Bytes{0xA5, 0x06, 0xFF, 0x01, 0x06}));
    EXPECT_EQ(emu.requests().size(), 10u);
    EXPECT_EQ(emu.badFrames(), 0u);
}

TEST_F(PowerModuleEmulatorTest, SwitchesRelaysAndCountsCommands)
{
    std::atomic<int> lastBits{-1};
    emu.setRelayListener([&](uint8_t bits) { lastBits = bits; });
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x05, 0x01, 0x08}, 6), (Bytes{0xA5, 0x02, 0x05, 0x01, 0x00, 0x08}));
    EXPECT_EQ(emu.relayBits(), 0x20);
    EXPECT_EQ(lastBits, 0x20);
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x07, 0x01, 0x0A}, 6), (Bytes{0xA5, 0x02, 0x07, 0x01, 0x00, 0x0A}));
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x05, 0x00, 0x07}, 6), (Bytes{0xA5, 0x02, 0x05, 0x00, 0x00, 0x07}));
    EXPECT_EQ(emu.relayBits(), 0x80);
    EXPECT_EQ(lastBits, 0x80);
    // Outlet 8 does not exist; action 2 is no action: both refused, nothing switched.
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x08, 0x01, 0x0B}, 6), (Bytes{0xA5, 0x02, 0x08, 0x01, 0x01, 0x0C}));
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x01, 0x02, 0x05}, 6), (Bytes{0xA5, 0x02, 0x01, 0x02, 0x01, 0x06}));
    EXPECT_EQ(emu.relayBits(), 0x80);
    EXPECT_EQ(emu.relayCommandCount(5), 2);
    EXPECT_EQ(emu.relayCommandCount(7), 1);
    EXPECT_EQ(emu.relayCommandCount(), 5);
    // A switched-on outlet reports its load; a meter query for outlet 9 gets no answer.
    emu.model().setCurrent(7, 2.0);
    const Bytes reading = line->exchange({0xA5, 0x01, 0x07, 0x08}, 22);
    ASSERT_EQ(reading.size(), 22u);
    EXPECT_EQ(Bytes(reading.begin() + 7, reading.begin() + 15), (Bytes{0x00, 0x02, 0x00, 0x00, 0x01, 0xCC, 0x00, 0x00}));
    EXPECT_TRUE(line->exchange({0xA5, 0x01, 0x09, 0x0A}, 1, milliseconds(300)).empty());
}

TEST_F(PowerModuleEmulatorTest, LogsRequestsWithReceiveTimes)
{
    const Clock::time_point start = Clock::now();
    for (uint8_t port : {0xFF, 0x00, 0x01})
    {
        line->send({0xA5, 0x01, port, static_cast<uint8_t>(1 + port)});
        std::this_thread::sleep_for(milliseconds(100));
    }
    ASSERT_TRUE(emu.waitForRequests(3, milliseconds(3000)));
    const auto log = emu.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].payload, Bytes{0xFF});
    EXPECT_EQ(log[2].payload, Bytes{0x01});
    EXPECT_GE(log[0].received, start);
    EXPECT_GE(log[1].received - log[0].received, milliseconds(50));
    EXPECT_GE(log[2].received - log[1].received, milliseconds(50));
    emu.clearRequests();
    EXPECT_TRUE(emu.requests().empty());
}

TEST_F(PowerModuleEmulatorTest, SilentModuleNeitherActsNorAnswers)
{
    emu.setSilent(true);
    EXPECT_TRUE(line->exchange({0xA5, 0x02, 0x02, 0x01, 0x05}, 1, milliseconds(300)).empty());
    EXPECT_TRUE(line->exchange({0xA5, 0x03, 0x03}, 1, milliseconds(300)).empty());
    EXPECT_EQ(emu.relayBits(), 0);
    EXPECT_EQ(emu.requests().size(), 2u);
    EXPECT_EQ(emu.relayCommandCount(2), 1);
    emu.setSilent(false);
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6).size(), 6u);
    const auto log = emu.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_FALSE(log[0].acted);
    EXPECT_FALSE(log[1].acted);
    EXPECT_TRUE(log[2].acted);
}

TEST_F(PowerModuleEmulatorTest, LateRepliesKeepTheirOrder)
{
    emu.setReplyDelay(milliseconds(300));
    const Clock::time_point sent = Clock::now();
    line->send({0xA5, 0x02, 0x02, 0x01, 0x05, 0xA5, 0x03, 0x03});
    EXPECT_TRUE(line->receive(1, milliseconds(200)).empty());
    const Bytes both = line->receive(12);
    EXPECT_GE(Clock::now() - sent, milliseconds(290));
    EXPECT_EQ(both, (Bytes{0xA5, 0x02, 0x02, 0x01, 0x00, 0x05, 0xA5, 0x03, 0x08, 0x04, 0xFF, 0x0E}));
}

TEST_F(PowerModuleEmulatorTest, CorruptsTheChecksumOfTheNextReplies)
{
    emu.corruptNextReplies(2);
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6), (Bytes{0xA5, 0x03, 0x08, 0x00, 0xFF, 0x0B}));
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x00, 0x01, 0x03}, 6), (Bytes{0xA5, 0x02, 0x00, 0x01, 0x00, 0x04}));
    EXPECT_EQ(emu.relayBits(), 0x01) << "a lost reply still switched the relay";
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6), (Bytes{0xA5, 0x03, 0x08, 0x01, 0xFF, 0x0B}));
}

TEST_F(PowerModuleEmulatorTest, SplitsRepliesIntoPiecesWithGaps)
{
    emu.setSplitReplies(5, milliseconds(80));
    const Clock::time_point sent = Clock::now();
    line->send({0xA5, 0x01, 0xFF, 0x00});
    EXPECT_EQ(line->receive(5).size(), 5u);
    const Bytes rest = line->receive(17);
    ASSERT_EQ(rest.size(), 17u);
    // Five pieces, four gaps; the reply's time is its last piece's.
    EXPECT_GE(Clock::now() - sent, milliseconds(4 * 80 - 10));
    const auto times = emu.replyTimes(sent);
    ASSERT_EQ(times.size(), 1u);
    EXPECT_GE(times[0].written - times[0].received, milliseconds(4 * 80 - 10));
    emu.setSplitReplies(0, milliseconds(0));
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6).size(), 6u);
}

// Replies longer than their requests set the pace: in order, no sooner than the line carries them, or the slower
// return line of a module that answers slower than it reads. A module thread
// that stalls meanwhile loses the line nothing: the requests that waited are all there at once.
TEST_F(PowerModuleEmulatorTest, APacedLineCarriesRepliesInOrderAtItsPace)
{
    emu.setLinePace(1920);
    Bytes burst = repeated(kInletQuery, 10);
    burst.insert(burst.end(), {0xA5, 0x03, 0x03});
    const Clock::time_point sent = Clock::now();
    const Bytes all = line->exchange(burst, 10 * 22 + 6);
    EXPECT_GE(seconds(Clock::now() - sent), (10 * 22 + 6) / 1920.0);
    ASSERT_EQ(all.size(), 10 * 22 + 6u);
    EXPECT_EQ(Bytes(all.end() - 6, all.end()), (Bytes{0xA5, 0x03, 0x08, 0x00, 0xFF, 0x0A}));

    // A return line slower than the reading: the replies take their own pace.
    emu.setReplyPace(960);
    EXPECT_EQ(1920, emu.linePace());
    const Clock::time_point slow = Clock::now();
    EXPECT_EQ(10 * 22u, line->exchange(repeated(kInletQuery, 10), 10 * 22).size());
    EXPECT_GE(seconds(Clock::now() - slow), 10 * 22 / 960.0);
    emu.setReplyPace(1920);

    std::atomic<int> calls{0};
    emu.setRelayListener([&](uint8_t) {
        if (calls++ == 0)
            std::this_thread::sleep_for(milliseconds(300));
    });
    emu.clearRequests();
    line->send(repeated({0xA5, 0x02, 0x02, 0x01, 0x05}, 40));
    ASSERT_TRUE(emu.waitForRequests(40, milliseconds(5000)));
    const auto log = emu.requests();
    const auto behind = std::find_if(log.begin(), log.end(), [&](const pmemu::PmRequest& r) {
        return r.received - log.front().received >= milliseconds(250);
    });
    ASSERT_NE(behind, log.end());
    const double lineTime = static_cast<double>(log.end() - behind) * 5 / 1920;
    EXPECT_LT(seconds(log.back().received - behind->received), lineTime / 2);
}

TEST_F(PowerModuleEmulatorTest, HeldRepliesWaitAndGoInOrderAtTheRelease)
{
    emu.holdReplies(true);
    line->send({0xA5, 0x02, 0x02, 0x01, 0x05, 0xA5, 0x03, 0x03, 0xA5, 0x01, 0xFF, 0x00});
    ASSERT_TRUE(emu.waitForRequests(3, milliseconds(3000)));
    EXPECT_EQ(emu.relayBits(), 0x04) << "a held reply's request is acted on";
    EXPECT_TRUE(line->receive(1, milliseconds(300)).empty());
    EXPECT_EQ(emu.waitingBytes(), 34u);
    const Clock::time_point released = Clock::now();
    emu.holdReplies(false);
    const Bytes all = line->receive(6 + 6 + 22);
    ASSERT_EQ(all.size(), 34u);
    EXPECT_EQ(emu.waitingBytes(), 0u);
    const auto times = emu.replyTimes();
    ASSERT_EQ(times.size(), 3u);
    for (const auto& t : times)
    {
        EXPECT_GE(t.written, released);
        EXPECT_GE(t.written - t.received, milliseconds(300));
    }
    EXPECT_EQ(Bytes(all.begin(), all.begin() + 15),
              (Bytes{0xA5, 0x02, 0x02, 0x01, 0x00, 0x05, 0xA5, 0x03, 0x08, 0x04, 0xFF, 0x0E, 0xA5, 0x01, 0xFF}));
}

// The emulator's thread wakes for the trip, not at its next look around.
TEST_F(PowerModuleEmulatorTest, TellsTheListenerOfATripAtItsTime)
{
    std::mutex mutex;
    std::vector<std::pair<uint8_t, Clock::time_point>> told;
    emu.setRelayListener([&](uint8_t bits) {
        std::lock_guard<std::mutex> lock(mutex);
        told.emplace_back(bits, Clock::now());
    });
    emu.model().setTrip(4, milliseconds(250));
    EXPECT_EQ(line->exchange({0xA5, 0x02, 0x04, 0x01, 0x07}, 6), (Bytes{0xA5, 0x02, 0x04, 0x01, 0x00, 0x07}));
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6), (Bytes{0xA5, 0x03, 0x08, 0x10, 0xFF, 0x1A}));
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_EQ(line->exchange({0xA5, 0x03, 0x03}, 6), (Bytes{0xA5, 0x03, 0x08, 0x00, 0xFF, 0x0A}));
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].first, 0x10);
    EXPECT_EQ(told[1].first, 0x00);
    const auto after = told[1].second - emu.requests().at(0).received;
    EXPECT_GE(after, milliseconds(250));
    EXPECT_LT(after, milliseconds(250 + 100));
}

TEST_F(PowerModuleEmulatorTest, ChattersAboutEveryPeriodUntilStopped)
{
    const Bytes chatter{0xA5, 0x02, 0x06, 0x01, 0x00, 0x09};
    const Clock::time_point start = Clock::now();
    emu.setChatter(6, 1, milliseconds(100));
    EXPECT_EQ(line->receive(5 * 6), repeated(chatter, 5));
    EXPECT_GE(Clock::now() - start, milliseconds(490));
    EXPECT_LT(Clock::now() - start, milliseconds(700));

    // A late answer is passed by the chatter ready before it, and comes whole.
    emu.setReplyDelay(milliseconds(250));
    line->send({0xA5, 0x03, 0x03});
    const Bytes got = line->receive(5 * 6);
    ASSERT_EQ(got.size(), 5 * 6u);
    const Bytes status{0xA5, 0x03, 0x08, 0x00, 0xFF, 0x0A};
    int answerAt = -1;
    for (int i = 0; i < 5; ++i)
    {
        const Bytes frame(got.begin() + 6 * i, got.begin() + 6 * i + 6);
        if (frame == status)
            answerAt = i;
        else
            EXPECT_EQ(frame, chatter) << i;
    }
    EXPECT_GE(answerAt, 2);

    emu.setChatter(6, 1, milliseconds(0));
    line->receive(6, milliseconds(150));  // one under way
    EXPECT_TRUE(line->receive(1, milliseconds(300)).empty());
    EXPECT_EQ(emu.repliesSent(), 1u) << "chatter answers nothing";
    EXPECT_GE(emu.chatterSent(), 9u);
    EXPECT_EQ(emu.replyTimes().size(), 1u);
}

TEST_F(PowerModuleEmulatorTest, ChatterIsHeldWithTheRepliesAndSilencedWithTheModule)
{
    emu.setSilent(true);
    emu.setChatter(1, 0, milliseconds(50));
    EXPECT_TRUE(line->receive(1, milliseconds(300)).empty());
    EXPECT_EQ(emu.chatterSent(), 0u);
    emu.setSilent(false);
    emu.holdReplies(true);
    std::this_thread::sleep_for(milliseconds(300));
    emu.setChatter(1, 0, milliseconds(0));
    EXPECT_TRUE(line->receive(1, milliseconds(100)).empty());
    const size_t held = emu.waitingBytes();
    EXPECT_GE(held, 4 * 6u);
    emu.holdReplies(false);
    EXPECT_EQ(line->receive(held), repeated({0xA5, 0x02, 0x01, 0x00, 0x00, 0x03}, static_cast<int>(held / 6)));
    EXPECT_EQ(emu.chatterSent(), held / 6);
}

TEST_F(PowerModuleEmulatorTest, IgnoresBadRequestFrames)
{
    line->send({0x00, 0xA5, 0x01, 0x03, 0x05, 0xA5, 0x09, 0xA5, 0x03, 0x03});
    EXPECT_EQ(line->receive(6), (Bytes{0xA5, 0x03, 0x08, 0x00, 0xFF, 0x0A}));
    EXPECT_EQ(emu.requests().size(), 1u);
    EXPECT_EQ(emu.badFrames(), 2u);
}

TEST(PowerModuleEmulatorLinkTest, LinkFollowsTheEmulatorsLife)
{
    const std::string path = linkPath();
    {
        PowerModuleEmulator emu(path);
        ASSERT_TRUE(emu.start());
        char target[256] = {};
        ASSERT_GT(::readlink(path.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(emu.slavePath(), target);
        // A second emulator on the same path replaces the link.
        PowerModuleEmulator second(path);
        ASSERT_TRUE(second.start());
        ASSERT_GT(::readlink(path.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(second.slavePath(), std::string(target));
        emu.stop();  // the link is no longer its own: it stays
        struct stat st;
        EXPECT_EQ(::lstat(path.c_str(), &st), 0);
    }
    struct stat st;
    EXPECT_NE(::lstat(path.c_str(), &st), 0);

    std::ofstream(path) << "not a link";
    PowerModuleEmulator refused(path);
    std::string error;
    EXPECT_FALSE(refused.start(&error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    ::unlink(path.c_str());
}
