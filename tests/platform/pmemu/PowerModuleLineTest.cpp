// The power module's line under a flood of switching requests: what waits
// for it stays bounded, and the unit's own frames do not wait behind a
// peer's.
#include <utility>

#include "GlobalData.h"
#include "OutletAction.h"
#include "PowerModuleFixture.h"

using pmtest::Clock;
using pmtest::requestsOf;
using pmtest::seconds;

namespace
{
class PowerModuleLine : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override {}  // each case sets up the line it needs
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
    EXPECT_GT(accepted, 100);
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

// A peer flooding switching requests faster than the line carries them, to a module reading at the line's pace:
// some are refused, and every frame queued (the peer's accepted commands, a delayed action, the overload cut-off)
// reaches the module within 2 s of its queueing.
TEST_F(PowerModuleLine, AFloodHoldsBackNeitherTheUnitsOwnSwitchingNorAnAcceptedCommand)
{
    PowerModuleFixture::SetUp();
    emu.setLinePace(PowerModule::kLineBytesPerSecond);
    makeContainer();
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    std::vector<Clock::time_point> queued;
    container->setRelayRequestSentCallback([&](int, unsigned char) { queued.push_back(Clock::now()); });
    _Device& device = GlobalData::getDevice();
    const int outlets = std::exchange(device.portCount, 8);
    const OutletAction action(*container);
    int asked = 0, refused = 0;
    // 40 bytes a millisecond: far beyond the line, even on a slow machine or under emulation.
    muduo::net::TimerId flood = loop.runEvery(0.001, [&] {
        for (int i = 0; i < 4; ++i, ++asked)
            refused += !action.applyList({asked % 8, (asked + 3) % 8}, asked % 2);
    });
    ASSERT_TRUE(container->turnOffPortAfter(6, 2, true));
    bool cutOff = false;
    loop.runAfter(3.0, [&] { cutOff = container->turnOffPort(7, true); });
    runFor(5.0);
    loop.cancel(flood);
    runUntil([&] { return requestsOf(emu, 2).size() >= queued.size(); }, 5.0);
    EXPECT_TRUE(cutOff);
    EXPECT_GT(refused, 0);
    EXPECT_GT(asked - refused, 100);
    const auto frames = requestsOf(emu, 2);
    ASSERT_EQ(queued.size(), frames.size()) << "each frame once, none sent again";
    double latest = 0;
    for (size_t i = 0; i < frames.size(); ++i)
        latest = std::max(latest, seconds(frames[i].received - queued[i]));
    EXPECT_LT(latest, 2.0);
    device.portCount = outlets;
}
