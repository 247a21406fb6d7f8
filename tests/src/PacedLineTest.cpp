// The line on a pipe whose far end the test plays: when frames are handed to
// the device while the far end is quiet, and how far behind the line counts
// itself meanwhile.
#include "PacedLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

#include "muduo/net/EventLoop.h"
#include "netext/FileHandler.h"
#include "support/LoopUntil.h"

namespace
{
using Clock = std::chrono::steady_clock;
const int kLine = 1920;
const double kWait = 0.2;
// A relay command's frame and reply, and a frame with the longest reply.
const unsigned char kFrame[5] = {0xA5, 2, 3, 1, 6};
const uint32_t kKey = 0x20301, kLongKey = 0x10500;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class PacedLineTest : public ::testing::Test
{
protected:
    struct Out
    {
        int tag;
        Clock::time_point at;
        double carriedIn;
    };

    void SetUp() override
    {
        int fds[2];
        ASSERT_EQ(0, ::pipe2(fds, O_NONBLOCK | O_CLOEXEC));
        farEnd_ = fds[0];
        deviceFd_ = fds[1];
        device_ = std::make_shared<muduo::net::FileHandler>(&loop, deviceFd_);
        line = std::make_unique<PacedLine>(&loop, device_, kLine, kWait);
        line->setFrameOutCallback([this](int tag, double carriedIn, uint64_t) {
            out.push_back({tag, Clock::now(), carriedIn});
        });
    }

    void TearDown() override
    {
        line.reset();
        device_.reset();
        ::close(deviceFd_);
        ::close(farEnd_);
    }

    void send(int tag, int frames = 1)
    {
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(line->send(kFrame, sizeof kFrame, tag, 6, kKey, true));
    }
    size_t sent(int tag) const
    {
        size_t n = 0;
        for (const Out& o : out)
            n += o.tag == tag;
        return n;
    }
    void runFor(double s) { test::loopUntil(loop, [] { return false; }, s); }

    muduo::net::EventLoop loop;
    std::unique_ptr<PacedLine> line;
    std::vector<Out> out;

private:
    int farEnd_ = -1, deviceFd_ = -1;
    muduo::net::FileHandlerPtr device_;
};
}

// The far end goes quiet with frames waiting: they go on at the line's pace (the carry). Withdrawn from the queue,
// they are no part of it any more: a frame queued after them goes as a probe, a twentieth of a second after the
// frame before at least, and the line counts itself behind by what the probes take, not by frames gone.
TEST_F(PacedLineTest, FramesWithdrawnFromTheCarryOfAQuietSpellLeaveIt)
{
    send(1, 300);  // the window's worth out, then 0.9 s of carry once quiet
    ASSERT_TRUE(test::loopUntil(loop, [&] { return sent(1) > 50; }, 5.0)) << "no carry";
    ASSERT_LT(sent(1), 250u) << "the carry is over already";
    line->withdraw(1, ~0);
    const Clock::time_point asked = Clock::now();
    send(2, 10);
    EXPECT_LT(line->behind(), 5.0);
    runFor(0.15);
    EXPECT_LE(sent(2), 4u) << "probes, not a carry: " << seconds(Clock::now() - asked) << " s";
    double closest = 1;
    for (size_t i = 1; i < out.size(); ++i)
        closest = out[i].tag == 2 && out[i - 1].tag == 2 ? std::min(closest, seconds(out[i].at - out[i - 1].at))
                                                          : closest;
    EXPECT_GE(closest, 0.045) << "seconds between two probes";
}

// Quiet with frames waiting, the line counts itself behind by their carry at the line's pace and then the probes: a
// frame queued after the carry reaches the far end no later than counted, though the far end's replies were fast
// enough for the frames waiting to count for less on their own.
TEST_F(PacedLineTest, AFrameQueuedBehindTheCarryOfAQuietSpellIsCarriedWithinTheCount)
{
    ASSERT_TRUE(line->send(kFrame, sizeof kFrame, 9, 255, kLongKey, false));
    ASSERT_EQ(1u, out.size());
    runFor(out[0].carriedIn + 0.01);
    ASSERT_TRUE(line->answer(kLongKey, nullptr));  // a reply as fast as the line: its pace
    runFor(0.2);  // the line idle, the far end answering no more
    send(1, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));  // quiet from a wait after the first went
    line->pump();  // the carry begins
    const Clock::time_point asked = Clock::now();
    const size_t before = out.size();
    send(2);
    const double counted = line->behind();
    ASSERT_TRUE(test::loopUntil(loop, [&] { return sent(2) == 1; }, 5.0));
    ASSERT_EQ(out.back().tag, 2);
    EXPECT_GT(out.size() - before, 50u) << "the carry went first";
    EXPECT_LE(seconds(out.back().at - asked) + out.back().carriedIn, counted);
}
