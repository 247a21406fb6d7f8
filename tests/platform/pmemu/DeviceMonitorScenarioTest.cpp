// The alarm monitor against the power-module emulator: readings travel from
// the emulated module through the container's polls into the device record
// (wired here as the daemon's device callbacks do), and an overloaded outlet
// is switched off on the module itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BeeperModule.h"
#include "DeviceMonitor.h"
#include "GlobalData.h"
#include "MailQueue.h"
#include "OutletAction.h"
#include "PowerModuleFixture.h"
#include "support/AlarmProbe.h"
#include "support/DeviceRecords.h"
#include "support/TestDatabases.h"

namespace
{
using Beeps = std::vector<std::vector<int32_t>>;
using Rows = std::vector<std::string>;
const std::vector<int32_t> kFast = {-1, 50, 50};
const std::vector<int32_t> kSlow = {-1, 200, 200};
const std::vector<int32_t> kStop = {0, 0, 0};
// Ticks ten times faster than the daemon's 1.0 s; the counts are the same.
const double kTick = 0.1;

double value(uint32_t whole, uint16_t hundredths) { return whole + hundredths / 100.0; }

class DeviceMonitorScenarioTest : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override
    {
        PowerModuleFixture::SetUp();
        test::resetBoardDatabases();
        test::makeRecordingDevice(BeeperModule::kDevName);
        test::alarm::installMailProgram();
        MailQueue::instance().attach(&loop);  // as the server does: the loop paces the mail program
        device() = _Device();
        ASSERT_TRUE(GlobalData::loadDeviceParamFromDb());
        ASSERT_EQ(8, device().portCount);
        device().status.calibratingPort = -1;
        emu.model().setVoltage(230);

        makeContainer();
        container->setMeterDataCallback([](int port, const _PowerModuleData* d) {
            _DeviceStatus& s = device().status;
            if (port == powermodule::kInletPort)
            {
                s.input.voltage = value(d->voltageInt, d->voltageFrac);
                s.input.current = value(d->currentInt, d->currentFrac);
            }
            else if (port >= 0 && port < 8)
                s.outputs[port].current = value(d->currentInt, d->currentFrac);
        });
        container->setOutputStatusCallback([](int module, int, unsigned char onOff, unsigned char) {
            if (module == 0)
                device().status.onOffMask = onOff;
        });
        container->startQueryAllOutputsStatus(0.1);
        container->startQueryAllPortsMeterData(0.05);
        beeper = std::make_shared<BeeperModule>();
        monitor = std::make_unique<DeviceMonitor>(&loop, beeper, container);
        monitor->start(kTick);
    }

    void TearDown() override
    {
        monitor.reset();
        runUntil([] { return !MailQueue::instance().running() && MailQueue::instance().waiting() == 0; }, 5);
        MailQueue::instance().detach();
        PowerModuleFixture::TearDown();
        test::alarm::reapChildren();
    }

    static _Device& device() { return GlobalData::getDevice(); }
    bool waitFor(const std::function<bool()>& done, double seconds = 10.0) { return runUntil(done, seconds); }
    size_t rowCount() { return test::alarm::logRows().size(); }

    std::shared_ptr<BeeperModule> beeper;
    std::unique_ptr<DeviceMonitor> monitor;
};
}

TEST_F(DeviceMonitorScenarioTest, InletOverVoltageRaisesOnceAndClearsWhenItReturns)
{
    emu.model().setVoltage(262.5);
    ASSERT_TRUE(waitFor([&] { return rowCount() >= 1; }));
    runFor(15 * kTick);  // a standing alarm is not raised again
    EXPECT_EQ(Rows({"2|{\"type\":2,\"desc\":4}"}), test::alarm::logRows());
    std::vector<test::alarm::Mail> mails = test::alarm::sentMails(1);
    ASSERT_EQ(1u, mails.size());
    EXPECT_EQ(test::alarm::Mail({"--server=smtp.example.net", "--port=25", "--user=pdu", "--pass=pw",
                                 "--from=pdu,pdu@example.net", "--to=Ops,ops@example.net",
                                 "--subject=Input voltage warning!",
                                 "--body=The input voltage exceeds upper limit!"}),
              mails[0]);
    EXPECT_EQ("1", test::queryText(test::boardDatabase("pdu.db"), "select count(*) from email_records"));
    EXPECT_EQ(Beeps({kSlow}), test::alarm::beeperRequests());
    EXPECT_EQ(2, test::alarm::deviceStatusWord(7));

    emu.model().setVoltage(231);
    ASSERT_TRUE(waitFor([&] { return test::alarm::beeperRequests().size() == 2; }));
    EXPECT_EQ(Beeps({kSlow, kStop}), test::alarm::beeperRequests());
    EXPECT_EQ(0, test::alarm::deviceStatusWord(7));
    runFor(5 * kTick);
    EXPECT_EQ(1u, rowCount());
    EXPECT_EQ(1u, test::alarm::sentMails(1).size());
}

TEST_F(DeviceMonitorScenarioTest, OutletOverItsWarningLimitWarnsAndStaysOn)
{
    emu.model().setCurrent(3, 12.0);  // warning upper 10, cut-off 16
    emu.model().setRelay(3, true);
    ASSERT_TRUE(waitFor([&] { return rowCount() >= 1; }));
    runFor(25 * kTick);
    EXPECT_EQ(Rows({"4|{\"type\":4,\"port\":3,\"desc\":4}"}), test::alarm::logRows());
    std::vector<test::alarm::Mail> mails = test::alarm::sentMails(1);
    ASSERT_EQ(1u, mails.size());
    EXPECT_EQ("--subject=Output current warning!", mails[0][6]);
    EXPECT_EQ("--body=The output current of port 4 exceeds upper limit!", mails[0][7]);
    EXPECT_EQ(Beeps({kSlow}), test::alarm::beeperRequests());
    EXPECT_EQ(2, test::alarm::outletCurrentStatus(3));
    EXPECT_TRUE(emu.relayBits() & (1u << 3));
    EXPECT_EQ(0, emu.relayCommandCount(3));
}

TEST_F(DeviceMonitorScenarioTest, OutletOverItsCutOffIsSwitchedOffAndLoggedAsOverloaded)
{
    device().inputThreshold.warnUpperCurrent = 32;  // the inlet carries the 18 A too
    emu.model().setCurrent(5, 18.0);
    emu.model().setRelay(5, true);
    ASSERT_TRUE(waitFor([&] { return !(emu.relayBits() & (1u << 5)); }, 15.0));
    EXPECT_GE(emu.relayCommandCount(5), 1);
    ASSERT_TRUE(waitFor([&] { return test::alarm::beeperRequests().size() >= 3; }));
    EXPECT_EQ(Rows({"4|{\"type\":4,\"port\":5,\"desc\":4}", "5|{\"type\":5,\"port\":5,\"desc\":4}"}),
              test::alarm::logRows());
    // The second mail waits for the first one's program to end.
    ASSERT_TRUE(waitFor([] { return test::alarm::sentMails(0).size() >= 2; }));
    std::vector<test::alarm::Mail> mails = test::alarm::sentMails(2);
    ASSERT_EQ(2u, mails.size());
    EXPECT_EQ("--body=The output current of port 6 exceeds upper limit!", mails[0][7]);
    EXPECT_EQ("--subject=Output current overload!", mails[1][6]);
    EXPECT_EQ("--body=The output current of port 6 is overload!", mails[1][7]);
    // Slow from the warning, fast while cut off, silent once the module
    // reports the outlet off.
    EXPECT_EQ(Beeps({kSlow, kFast, kStop}), test::alarm::beeperRequests());
    EXPECT_EQ(0, device().status.outputs[5].overloaded);
    EXPECT_EQ(0, test::alarm::outletCurrentStatus(5));
}

namespace
{
// The daemon's rhythm (meter poll every 0.1 s, status poll every 0.5 s, a tick a second) at the line's pace, the
// module answering at replyPace, a peer flooding outlets 1 to 6 at the refusal bound or not at all; outlet 0 over
// its cut-off limit from t0, the monitor's ticks from 1.3 s after it.
struct FloodCase
{
    int replyPace;
    bool flood;
};

void PrintTo(const FloodCase& c, std::ostream* os) { *os << (c.flood ? "flood" : "quiet") << " at " << c.replyPace; }

class CutOffUnderAFlood : public DeviceMonitorScenarioTest, public ::testing::WithParamInterface<FloodCase>
{
};
}

// The polls go ahead of the commands waiting: every outlet's reading and the status stay fresh, so the cut-off comes
// at its 20th tick as without the flood, its off frame behind at most the line's second of accepted commands.
TEST_P(CutOffUnderAFlood, ReadingsStayFreshAndTheCutOffComesInTime)
{
    const int line = PowerModule::kLineBytesPerSecond;
    monitor.reset();
    container->stopQueryAllOutputsStatus();
    container->stopQueryAllPortsMeterData();
    emu.setLinePace(line);
    emu.setReplyPace(GetParam().replyPace);
    device().inputThreshold.warnUpperCurrent = 40;
    container->startQueryAllOutputsStatus(0.5);
    container->startQueryAllPortsMeterData(0.1);
    muduo::net::TimerId flood;
    int accepted = 0, asked = 0;
    if (GetParam().flood)
        flood = loop.runEvery(0.001, [&] {
            for (int i = 0; i < 4; ++i, ++asked)
                accepted += OutletAction(*container).applyList({1 + asked % 6, 1 + (asked + 3) % 6}, asked % 2);
        });
    runFor(2.0);  // the flood at its bound
    const pmtest::Clock::time_point t0 = pmtest::Clock::now();
    emu.model().setCurrent(0, 18.0);  // cut-off 16 A
    emu.model().setRelay(0, true);
    loop.runAfter(0.3, [&] {
        monitor = std::make_unique<DeviceMonitor>(&loop, beeper, container);
        monitor->start(1.0);
    });
    auto offFrame = [&]() -> const pmemu::PmRequest* {
        static std::vector<pmemu::PmRequest> frames;
        frames = pmtest::requestsOf(emu, 2);
        auto off = std::find_if(frames.begin(), frames.end(), [](const pmemu::PmRequest& r) {
            return r.payload[0] == 0 && r.payload[1] == 0;
        });
        return off == frames.end() ? nullptr : &*off;
    };
    ASSERT_TRUE(runUntil([&] { return offFrame() != nullptr; }, 25.0));
    const double late = pmtest::seconds(offFrame()->received - t0) - 20.3;  // its 20th tick, reading fresh by 1.3 s
    if (GetParam().flood)
    {
        loop.cancel(flood);
        EXPECT_GT(accepted, 1000);
        EXPECT_LT(asked - accepted, asked) << "refused at the bound";
    }
    std::printf("cut-off: %.2f s after its time without a flood\n", late);
    EXPECT_LT(late, GetParam().flood ? 1.5 : 0.1) << "seconds after its time without a flood";
    // Each outlet's reading at most 2 s apart, the status at most 1 s, whatever waits for the line.
    std::map<int, std::vector<double>> polls;  // port (-1 the status poll's), when the module heard it
    for (const auto& r : emu.requests())
        if (r.command == 1 || r.command == 3)
            polls[r.command == 3 ? -1 : r.payload[0]].push_back(pmtest::seconds(r.received - t0));
    EXPECT_EQ(10u, polls.size()) << "the inlet, eight outlets and the status";
    for (const auto& kind : polls)
    {
        double gap = 0;
        for (size_t i = 1; i < kind.second.size(); ++i)
            gap = std::max(gap, kind.second[i] - kind.second[i - 1]);
        EXPECT_LT(gap, kind.first < 0 ? 1.0 : 2.0) << "the polls of " << kind.first << " (-1: status)";
    }
}

INSTANTIATE_TEST_SUITE_P(Paces, CutOffUnderAFlood,
                         ::testing::Values(FloodCase{PowerModule::kLineBytesPerSecond, false},
                                           FloodCase{PowerModule::kLineBytesPerSecond, true},
                                           FloodCase{PowerModule::kLineBytesPerSecond * 65 / 100, true}),
                         [](const ::testing::TestParamInfo<FloodCase>& info) {
                             return (info.param.flood ? "Flood" : "Quiet") + std::to_string(info.param.replyPace);
                         });
