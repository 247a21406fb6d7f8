#pragma once
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

namespace pmscript
{
using test::Bytes;
using test::pmFrame;

inline Bytes meter(unsigned char port, unsigned char volts)
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
    // Status polls and calibration-parameter queries sent so far: frames
    // whose one payload byte repeats the command.
    int queriesSent(unsigned char command)
    {
        relayFrames();
        int count = 0;
        for (size_t i = 0; i + 2 < sent_.size(); ++i)
            count += sent_[i] == 0xA5 && sent_[i + 1] == command && sent_[i + 2] == command;
        return count;
    }
    int statusPollsSent() { return queriesSent(3); }
    int caliQueriesSent() { return queriesSent(4); }
    bool sentUntil(const std::function<bool()>& done) { return test::loopUntil(loop, done, 5.0); }
    // A status poll sent, and its report of outlets 0 to outlets - 1 given back.
    void report(unsigned char on, unsigned char outlets = 8)
    {
        const int polls = statusPollsSent();
        ASSERT_TRUE(module->queryRelayStatusRequest());
        ASSERT_TRUE(sentUntil([&] { return statusPollsSent() > polls; }));
        reply({pmFrame(3, {outlets, on, 0xFF})});
        runFor(0.02);
    }

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
