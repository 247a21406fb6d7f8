// The line and the container against an imperfect module, each run drawn
// from a seed: on, off and restart commands on random outlets at random
// gaps, while the module now and then goes silent, holds its replies,
// answers slower than the line, or loses frames and loses and garbles
// replies. A few seeds run here; RAILBOX_LINE_SEEDS=N runs N more.
#include <cstdlib>
#include <random>
#include <sstream>

#include "PowerModuleFixture.h"

using pmtest::Clock;
using pmtest::requestsOf;

namespace
{
struct Command
{
    double at;
    int port, action, restartDelay;  // action 2: restart
};

struct Spell
{
    int kind;  // silent, held, slow, lossy
    double at, length;
    int pace;
};

std::vector<uint32_t> seeds()
{
    std::vector<uint32_t> out = {1, 2, 3, 4};
    const char* more = std::getenv("RAILBOX_LINE_SEEDS");
    for (int i = 0, n = more ? std::atoi(more) : 0; i < n; ++i)
        out.push_back(1000 + static_cast<uint32_t>(i));
    return out;
}

class ImperfectModule : public pmtest::PowerModuleFixture, public ::testing::WithParamInterface<uint32_t>
{
protected:
    void apply(const Spell& s, bool on)
    {
        using Faults = pmemu::PowerModuleEmulator::Faults;
        if (s.kind == 0)
            emu.setSilent(on);
        else if (s.kind == 1)
            emu.holdReplies(on);
        else if (s.kind == 2)
            emu.setReplyPace(on ? s.pace : PowerModule::kLineBytesPerSecond);
        else
            emu.setFaults(on ? Faults{0.15, 0.15, 0.1} : Faults{}, GetParam());
    }
};
}

// After the last command and a few seconds of a healthy module, every outlet is as its last accepted command asks,
// and every operation started has ended, once. A command clear of the module's spells goes in the frames it needs
// and a copy at most; one near them, in at most four for each (a frame and its retries) and one more for each once
// the module is back, when its report finds the outlet otherwise.
TEST_P(ImperfectModule, EveryOutletEndsAsItsLastAcceptedCommandAsks)
{
    std::mt19937 draw(GetParam());
    auto uniform = [&](double from, double to) { return std::uniform_real_distribution<double>(from, to)(draw); };
    auto integer = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(draw); };
    std::vector<Command> commands;
    for (double at = 0.2; commands.size() < 24; at += uniform(0, 0.66))
        commands.push_back({at, integer(0, 7), integer(0, 2), integer(0, 1)});
    std::vector<Spell> spells;
    const double lengths[][2] = {{0.5, 3}, {0.2, 2}, {1, 3}, {1, 3}};
    std::ostringstream schedule;
    for (int i = 0; i < 4; ++i)
    {
        const int kind = integer(0, 3);
        spells.push_back({kind, uniform(0, 7), uniform(lengths[kind][0], lengths[kind][1]),
                          PowerModule::kLineBytesPerSecond * integer(30, 100) / 100});
        schedule << " spell " << kind << " at " << spells.back().at << " for " << spells.back().length << ";";
    }

    makeContainer();
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    int open[8] = {}, wanted[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    container->setPortOperationStartedCallback([&](int p) { ++open[p]; });
    container->setPortOperationEndedCallback([&](int p) { EXPECT_GT(open[p]--, 0) << "outlet " << p; });
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    double end = 0;
    for (const auto& s : spells)
    {
        loop.runAfter(s.at, [&, s] { apply(s, true); });
        loop.runAfter(s.at + s.length, [&, s] { apply(s, false); });
        end = std::max(end, s.at + s.length);
    }
    std::vector<Clock::time_point> issued(commands.size());
    for (size_t i = 0; i < commands.size(); ++i)
    {
        loop.runAfter(commands[i].at, [&, i] {
            const Command& c = commands[i];
            issued[i] = Clock::now();
            if (c.action == 2 ? container->restartPort(c.port, c.restartDelay, true)
                              : c.action ? container->turnOnPort(c.port, true) : container->turnOffPort(c.port, true))
                wanted[c.port] = c.action ? 1 : 0;
        });
        end = std::max(end, commands[i].at);
    }
    runFor(end + 4.0);

    for (int p = 0; p < 8; ++p)
    {
        EXPECT_EQ(wanted[p], emu.relayBits() >> p & 1) << "outlet " << p << schedule.str();
        EXPECT_EQ(0, open[p]) << "outlet " << p << "'s operations not all ended";
    }
    // A command's frames: its outlet's from when it was issued until the outlet's next command.
    const auto frames = requestsOf(emu, 2);
    for (size_t i = 0; i < commands.size(); ++i)
    {
        const Command& c = commands[i];
        Clock::time_point until = Clock::time_point::max();
        for (size_t j = commands.size() - 1; j > i; --j)
            if (commands[j].port == c.port)
                until = issued[j];
        const long sent = std::count_if(frames.begin(), frames.end(), [&](const pmemu::PmRequest& f) {
            return f.payload[0] == c.port && f.received >= issued[i] && f.received < until;
        });
        const bool clear = std::all_of(spells.begin(), spells.end(), [&](const Spell& s) {
            return s.at > c.at + 1.5 || s.at + s.length < c.at - 0.5;
        });
        const int needed = c.action == 2 ? 2 : 1;
        EXPECT_LE(sent, clear ? needed + 1 : 5 * needed) << "command " << i << " at " << c.at << schedule.str();
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ImperfectModule, ::testing::ValuesIn(seeds()));
