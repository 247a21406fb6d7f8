// Scheduled tasks, Modbus coils, ping watchdogs and clock corrections
// switching the emulated power module through a server built in-process.
#include <gtest/gtest.h>

#include <chrono>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/LogCapture.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

namespace
{
class ServiceCallbacksTest : public ::testing::Test
{
protected:
    void SetUp() override { board_ = std::make_unique<test::ServerBoard>(); }
    void TearDown() override { board_.reset(); }

    // Delays of one outlet, in seconds, before the server is built.
    static void delays(int port, int on, int off, int restart)
    {
        test::execSql(test::boardDatabase("pdu.db"), "update delays set \"on\"=" + std::to_string(on) +
                                                         ", off=" + std::to_string(off) + ", restart=" +
                                                         std::to_string(restart) + " where addr=0 and port=" +
                                                         std::to_string(port));
    }
    PduServer& build()
    {
        PduServer& s = board_->build();
        s.getPowerModuleContainer()->startRead();
        return s;
    }
    pmemu::PowerModuleEmulator& emulator() { return board_->emulator(); }
    bool relaysBecome(uint8_t bits, double seconds)
    {
        return board_->runUntil([&] { return emulator().relayBits() == bits; }, seconds);
    }
    // Runs the loop for a while, so that anything wrongly sent would arrive.
    void settle(double seconds) { board_->runUntil([] { return false; }, seconds); }

    std::unique_ptr<test::ServerBoard> board_;
};
}

TEST_F(ServiceCallbacksTest, ScheduledTaskSwitchesItsOutletsByTheirDelays)
{
    delays(1, 1, 0, 5);
    PduServer& s = build();
    const auto started = std::chrono::steady_clock::now();
    // Bits of outlets the unit lacks are left alone.
    s.onScheduledTask(7, 0x3u | 1u << 8 | 1u << 31, 1);
    ASSERT_TRUE(relaysBecome(0x01, 2));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900));
    ASSERT_TRUE(relaysBecome(0x03, 3));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(950));
    s.onScheduledTask(7, 0x1u, 0);
    EXPECT_TRUE(relaysBecome(0x02, 2));
}

TEST_F(ServiceCallbacksTest, ScheduledRestartWithoutOffDelayUsesTheRestartDelay)
{
    delays(2, 0, 0, 1);
    PduServer& s = build();
    emulator().model().setRelayBits(0x04);
    s.onScheduledTask(9, 0x4u, 3);
    ASSERT_TRUE(relaysBecome(0x00, 2));
    EXPECT_TRUE(relaysBecome(0x04, 3));
    EXPECT_EQ(2, emulator().relayCommandCount(2));
}

TEST_F(ServiceCallbacksTest, ModbusCoilsSwitchOnlyTheUnitsOutlets)
{
    PduServer& s = build();
    const unsigned char states[] = {1, 1, 1, 1};
    s.onModbusPowerModuleControl(states, 6, 4);
    ASSERT_TRUE(relaysBecome(0xC0, 2));
    s.onModbusPowerModuleControl(states, -2, 3);
    ASSERT_TRUE(relaysBecome(0xC1, 2));
    const unsigned char off[] = {0};
    s.onModbusPowerModuleControl(off, 7, 1);
    ASSERT_TRUE(relaysBecome(0x41, 2));
    s.onModbusPowerModuleControl(states, 3, 0);
    s.onModbusPowerModuleControl(nullptr, 3, 1);
    s.onModbusPowerModuleControl(states, 2147483647, 4);
    settle(0.3);
    EXPECT_EQ(0x41, emulator().relayBits());
    EXPECT_EQ(0, emulator().relayCommandCount(3));
}

TEST_F(ServiceCallbacksTest, PingFailureActsOnceUntilOnAgainOrSuccess)
{
    delays(2, 0, 0, 1);
    PduServer& s = build();
    emulator().model().setRelayBits(0x04);
    // Latched at start: a failure does nothing.
    s.onPingTaskFail(2, 0);
    settle(0.3);
    EXPECT_EQ(0, emulator().relayCommandCount(2));

    s.onPingTaskSuccess(2, true);
    EXPECT_EQ(0, GlobalData::getDevice().status.pingActionDone[2]);
    s.onPingTaskFail(2, 0);
    ASSERT_TRUE(relaysBecome(0x00, 2));
    settle(0.8);  // past any retry of a late acknowledgement
    const int sent = emulator().relayCommandCount(2);
    s.onPingTaskFail(2, 0);
    settle(0.3);
    EXPECT_EQ(sent, emulator().relayCommandCount(2));

    // Switched on again (acknowledged): the next failure restarts.
    s.onScheduledTask(1, 0x4u, 1);
    ASSERT_TRUE(relaysBecome(0x04, 2));
    ASSERT_TRUE(board_->runUntil([] { return GlobalData::getDevice().status.pingActionDone[2] == 0; }, 2));
    s.onPingTaskFail(2, 2);
    ASSERT_TRUE(relaysBecome(0x00, 2));
    EXPECT_TRUE(relaysBecome(0x04, 3));
    // The restart's switch-on acknowledgement released the latch again.
    EXPECT_TRUE(board_->runUntil([] { return GlobalData::getDevice().status.pingActionDone[2] == 0; }, 1));

    // Any other action switches nothing but still latches.
    s.onPingTaskSuccess(2, true);
    s.onPingTaskFail(2, 1);
    EXPECT_EQ(1, GlobalData::getDevice().status.pingActionDone[2]);
}

TEST_F(ServiceCallbacksTest, OneShotPingSuccessSetsTheTestFlag)
{
    PduServer& s = build();
    s.onPingTaskSuccess(3, true);
    EXPECT_EQ(0, GlobalData::getDevice().status.pingTestResult[3]);
    s.onPingTaskSuccess(3, false);
    EXPECT_EQ(1, GlobalData::getDevice().status.pingTestResult[3]);
    for (int port : {-1, 8, 60, 1 << 20})
    {
        s.onPingTaskSuccess(port, false);
        s.onPingTaskFail(port, 0);
    }
    settle(0.2);
    EXPECT_EQ(0, emulator().relayCommandCount());
}

TEST_F(ServiceCallbacksTest, OnlyTheFirstClockCorrectionReArmsTheTasks)
{
    test::execSql(test::boardDatabase("pdu.db"),
                  "insert into tasks(id, ports, action, date, time, repeat, remark) "
                  "values(1, 1, 1, '2030-01-01', '08:00:00', 0, 'x')");
    PduServer& s = build();
    test::LogCapture log;
    s.onTimeAdjusted();
    const int first = log.count("task stop:");
    EXPECT_EQ(1, first);
    s.onTimeAdjusted();
    EXPECT_EQ(2, log.count("time adjusted"));
    EXPECT_EQ(first, log.count("task stop:"));
}
