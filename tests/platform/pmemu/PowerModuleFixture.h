#pragma once
// A container with its one power module on the emulator, over a real pty
// linked at the board's /dev/ttyS10.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include "PduTimer.h"
#include "PowerModule.h"
#include "PowerModuleContainer.h"
#include "PowerModuleEmulator.h"
#include "SerialPort.h"
#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/LoopUntil.h"

namespace pmtest
{
using Clock = std::chrono::steady_clock;

inline double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The requests of one command, in arrival order.
inline std::vector<pmemu::PmRequest> requestsOf(const pmemu::PowerModuleEmulator& emu, uint8_t command)
{
    std::vector<pmemu::PmRequest> out;
    for (const auto& r : emu.requests())
        if (r.command == command)
            out.push_back(r);
    return out;
}

// Meter polls the module heard that are not the turn after the one before (the inlet, then each of 8 outlets): a
// port's turn waits with its query while the line is behind, never passes on.
inline size_t meterTurnsSkipped(const pmemu::PowerModuleEmulator& emu)
{
    size_t skipped = 0;
    const auto queries = requestsOf(emu, 1);
    for (size_t i = 1; i < queries.size(); ++i)
    {
        const int before = queries[i - 1].payload[0];
        skipped += queries[i].payload[0] != (before == 255 ? 0 : before == 7 ? 255 : before + 1);
    }
    return skipped;
}

class PowerModuleFixture : public ::testing::Test
{
protected:
    PowerModuleFixture() : emu(board::path("/dev/ttyS10")) {}

    void SetUp() override
    {
        ::mkdir(board::path("/dev").c_str(), 0755);
        std::string error;
        ASSERT_TRUE(emu.start(&error)) << error;
        emu.model().setEnergyRate(0);
    }

    void TearDown() override
    {
        container.reset();
        module.reset();
        emu.stop();
    }

    // The system's set-up: one module on /dev/ttyS10, reading started.
    void makeContainer(bool pollInlet = true, bool pollOutlets = true)
    {
        container = std::make_shared<PowerModuleContainer>(&loop);
        module = container->createPowerModule(&loop, 0, pollInlet, pollOutlets);
        ASSERT_TRUE(module);
        container->addPowerModule(module);
        container->startRead();
    }

    bool runUntil(const std::function<bool()>& done, double timeout) { return test::loopUntil(loop, done, timeout); }
    void runFor(double s) { test::loopUntil(loop, [] { return false; }, s); }

    muduo::net::EventLoop loop;
    pmemu::PowerModuleEmulator emu;
    std::shared_ptr<PowerModuleContainer> container;
    std::shared_ptr<PowerModule> module;
};
}
