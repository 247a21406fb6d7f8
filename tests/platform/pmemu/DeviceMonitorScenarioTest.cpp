// The alarm monitor against the power-module emulator: readings travel from
// the emulated module through the container's polls into the device record
// (wired here as the daemon's device callbacks do), and an overloaded outlet
// is switched off on the module itself.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BeeperModule.h"
#include "DeviceMonitor.h"
#include "GlobalData.h"
#include "MailQueue.h"
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
