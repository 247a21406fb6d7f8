// The line and the container against an imperfect module, each run drawn from a seed: on, off and restart commands
// on random outlets at random gaps, while the module now and then goes silent (0.5-3 s), holds its replies
// (0.2-2 s), answers at 30-100 % of the line's pace, or loses frames and loses and garbles replies (1-3 s).
// Seeds 1 to 4 run here; RAILBOX_LINE_SEEDS=N runs N more.
#include <cstdlib>
#include <random>

#include "PowerModuleFixture.h"

namespace
{
class ImperfectModule : public pmtest::PowerModuleFixture, public ::testing::WithParamInterface<uint32_t>
{
};

const char* const kMore = std::getenv("RAILBOX_LINE_SEEDS");
const uint32_t kMoreSeeds = kMore ? static_cast<uint32_t>(std::max(0, std::atoi(kMore))) : 0;
}

// After the last command and a few seconds of a healthy module, every outlet is as its last accepted command asks,
// and every operation started has ended, once. A command's frames (its outlet's until the next command for it): as
// many as it needs and a copy at most clear of the module's faults; near them, four for each it needs (a frame and
// its retries) and one more for each once the module is back, its report finding the outlet otherwise.
TEST_P(ImperfectModule, EveryOutletEndsAsItsLastAcceptedCommandAsks)
{
    using Faults = pmemu::PowerModuleEmulator::Faults;
    std::mt19937 draw(GetParam());
    auto uniform = [&](double from, double to) { return std::uniform_real_distribution<double>(from, to)(draw); };
    auto integer = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(draw); };
    makeContainer();
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    std::vector<std::pair<double, double>> near;  // when commands are near a fault
    for (int i = 0; i < 4; ++i)
    {
        const int kind = integer(0, 3), pace = PowerModule::kLineBytesPerSecond * integer(30, 100) / 100;
        const double at = uniform(0, 7);
        const double length = kind ? uniform(kind == 1 ? 0.2 : 1, kind == 1 ? 2 : 3) : uniform(0.5, 3);
        auto apply = [this, kind, pace](bool on) {
            if (kind < 2)
                kind ? emu.holdReplies(on) : emu.setSilent(on);
            else if (kind == 2)
                emu.setReplyPace(on ? pace : PowerModule::kLineBytesPerSecond);
            else
                emu.setFaults(on ? Faults{0.15, 0.15, 0.1} : Faults{}, GetParam());
        };
        loop.runAfter(at, [apply] { apply(true); });
        loop.runAfter(at + length, [apply] { apply(false); });
        near.push_back({at - 1.5, at + length + 0.5});
    }
    struct Command
    {
        int port, action, delay;  // action 2: restart
        double at;
        pmtest::Clock::time_point issued;
    };
    std::vector<Command> commands;
    for (double at = 0.2; commands.size() < 24; at += uniform(0, 0.66))
        commands.push_back({integer(0, 7), integer(0, 2), integer(0, 1), at, {}});
    int open[8] = {}, wanted[8] = {};
    container->setPortOperationStartedCallback([&](int p) { ++open[p]; });
    container->setPortOperationEndedCallback([&](int p) { EXPECT_GT(open[p]--, 0) << "outlet " << p; });
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    for (auto& c : commands)
        loop.runAfter(c.at, [&] {
            c.issued = pmtest::Clock::now();
            if (c.action == 2 ? container->restartPort(c.port, c.delay, true)
                              : c.action ? container->turnOnPort(c.port, true) : container->turnOffPort(c.port, true))
                wanted[c.port] = c.action ? 1 : 0;
        });
    runFor(14.0);  // faults end by 10 s

    for (int p = 0; p < 8; ++p)
    {
        EXPECT_EQ(wanted[p], emu.relayBits() >> p & 1) << "outlet " << p;
        EXPECT_EQ(0, open[p]) << "outlet " << p << "'s operations not all ended";
    }
    const auto frames = pmtest::requestsOf(emu, 2);
    for (auto c = commands.begin(); c != commands.end(); ++c)
    {
        const auto next = std::find_if(c + 1, commands.end(), [&](const Command& n) { return n.port == c->port; });
        const long sent = std::count_if(frames.begin(), frames.end(), [&](const pmemu::PmRequest& f) {
            return f.payload[0] == c->port && f.received >= c->issued &&
                   (next == commands.end() || f.received < next->issued);
        });
        const bool faulty =
            std::any_of(near.begin(), near.end(), [&](auto& n) { return c->at > n.first && c->at < n.second; });
        const int needed = c->action == 2 ? 2 : 1;
        EXPECT_LE(sent, faulty ? 5 * needed : needed + 1) << "the command at " << c->at << " s";
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ImperfectModule, ::testing::Range<uint32_t>(1, 5 + kMoreSeeds));
