#include "PortStatusManager.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "GlobalData.h"
#include "PowerModuleFixture.h"
#include "support/LogCapture.h"
#include "support/TestDatabases.h"

using pmtest::Clock;
using pmtest::seconds;

namespace
{
class PortStatusManagerTest : public pmtest::PowerModuleFixture
{
protected:
    void SetUp() override
    {
        PowerModuleFixture::SetUp();
        test::resetBoardDatabases();
        _Device& device = GlobalData::getDevice();
        device.portCount = 8;
        device.portDelays = {};
        makeContainer(false, false);
        manager.reset(new PortStatusManager(container));
    }

    void TearDown() override
    {
        manager.reset();
        PowerModuleFixture::TearDown();
    }

    // The system's bindings of the container's events to the manager.
    void bind()
    {
        container->setRelayRequestSentCallback([this](int p, unsigned char a) { manager->startUpdatePort(p, a); });
        container->setPortOperationStartedCallback([this](int p) { manager->startPortOperation(p); });
        container->setPortOperationEndedCallback([this](int p) {
            manager->endPortOperation(p);
            ++ended;
        });
        container->setOutputStatusCallback([this](int m, int count, unsigned char on, unsigned char) {
            manager->updatePortStatus(m * 8, m * 8 + count - 1, static_cast<unsigned long long>(on) << (m * 8));
            ++reports;
        });
    }

    static void store(const std::string& rows)
    {
        test::execSql(test::boardDatabase("outlet.db"), "replace into status(port, on_off) values " + rows);
    }
    static std::string stored(int port)
    {
        return test::queryText(test::boardDatabase("outlet.db"),
                               "select on_off from status where port=" + std::to_string(port));
    }
    bool relayOn(int port) const { return emu.relayBits() & (1u << port); }
    bool waitReports(int more)
    {
        const int target = reports + more;
        return runUntil([&] { return reports >= target; }, 10.0);
    }

    std::unique_ptr<PortStatusManager> manager;
    int ended = 0;
    int reports = 0;
};
}

TEST_F(PortStatusManagerTest, StartRestoresStoredOnOutletsAfterTheirOnDelay)
{
    store("(1, 1), (2, 1), (5, 0)");
    GlobalData::getDevice().portDelays[2].onDelay = 1;
    test::LogCapture log;
    const auto start = Clock::now();
    manager->start();
    EXPECT_TRUE(log.contains("recover port:2,delay:1"));
    EXPECT_TRUE(log.contains("recover port:1,delay:0"));
    ASSERT_TRUE(runUntil([&] { return relayOn(1); }, 2.0));
    EXPECT_FALSE(relayOn(2));
    ASSERT_TRUE(runUntil([&] { return relayOn(2); }, 5.0));
    EXPECT_GT(seconds(Clock::now() - start), 0.9);
    runFor(0.3);
    EXPECT_FALSE(relayOn(5));
    EXPECT_EQ(0, emu.relayCommandCount(5));
}

TEST_F(PortStatusManagerTest, SwitchedStateIsStoredOnceTheReportAgrees)
{
    bind();
    container->startQueryAllOutputsStatus(0.1);
    ASSERT_TRUE(container->turnOnPort(4, true));
    ASSERT_TRUE(runUntil([&] { return stored(4) == "1"; }, 5.0));
    EXPECT_EQ("<none>", stored(3));

    ASSERT_TRUE(container->turnOffPort(4, true));
    ASSERT_TRUE(runUntil([&] { return stored(4) == "0"; }, 5.0));
    // Stored off and found off: nothing switches it back on.
    ASSERT_TRUE(waitReports(3));
    EXPECT_FALSE(relayOn(4));
}

TEST_F(PortStatusManagerTest, StoredOnOutletFoundOffIsSwitchedOnUnlessBusy)
{
    store("(1, 1)");
    manager->start();
    ASSERT_TRUE(runUntil([&] { return relayOn(1); }, 2.0));
    const int commands = emu.relayCommandCount(1);

    emu.model().setRelay(1, false);
    manager->startPortOperation(1);
    manager->updatePortStatus(0, 7, 0);
    runFor(0.3);
    EXPECT_EQ(commands, emu.relayCommandCount(1));

    manager->endPortOperation(1);
    test::LogCapture log;
    manager->updatePortStatus(0, 7, 0);
    EXPECT_TRUE(log.contains("port:1 on"));
    ASSERT_TRUE(runUntil([&] { return relayOn(1); }, 2.0));
    EXPECT_EQ(commands + 1, emu.relayCommandCount(1));

    // A stored-off outlet found on is left on.
    store("(6, 0)");
    manager->updatePortStatus(0, 7, 1u << 6);
    runFor(0.3);
    EXPECT_EQ(0, emu.relayCommandCount(6));
}

// Stored on, switched on at start, its relay then stuck open: the container's loop switches it again less and less
// often, and the manager leaves it to the loop from its first try on (a report between the first two tries too),
// rather than switching it at every report.
TEST_F(PortStatusManagerTest, AStoredOnOutletThatDoesNotFollowIsLeftToTheLoop)
{
    bind();
    store("(1, 1)");
    manager->start();
    ASSERT_TRUE(runUntil([&] { return relayOn(1); }, 2.0));
    emu.model().setStuck(1, pmemu::PmMeterModel::Stuck::kOff);
    const int commands = emu.relayCommandCount(1);
    auto reportNow = [&] {
        ASSERT_TRUE(module->queryRelayStatusRequest());
        ASSERT_TRUE(waitReports(1));
    };
    reportNow();  // found off: the loop's first try
    ASSERT_TRUE(runUntil([&] { return emu.relayCommandCount(1) == commands + 1; }, 2.0));
    runFor(0.1);  // its reply
    reportNow();  // the second try not due yet
    runFor(0.3);
    EXPECT_EQ(commands + 1, emu.relayCommandCount(1)) << "the manager leaves it to the loop";
    container->startQueryAllOutputsStatus(0.5);
    runFor(6.2);
    EXPECT_LE(emu.relayCommandCount(1) - commands, 5) << "tries 0.5, 1, 2 and 4 s apart, not one a report";
    EXPECT_GE(emu.relayCommandCount(1) - commands, 3);
}

TEST_F(PortStatusManagerTest, OffRequestIsStoredOnlyWhenTheOutletIsOff)
{
    store("(4, 1)");
    manager->start();
    ASSERT_TRUE(runUntil([&] { return relayOn(4); }, 2.0));
    const int commands = emu.relayCommandCount(4);

    manager->startUpdatePort(4, 0);
    manager->updatePortStatus(0, 7, 1u << 4);  // still on
    EXPECT_EQ("1", stored(4));
    manager->updatePortStatus(0, 7, 0);
    EXPECT_EQ("0", stored(4));
    // No longer kept on: the next off report switches nothing.
    manager->updatePortStatus(0, 7, 0);
    runFor(0.3);
    EXPECT_EQ(commands, emu.relayCommandCount(4));
}

TEST_F(PortStatusManagerTest, ReportsTouchOnlyTheirOwnPorts)
{
    manager->startUpdatePort(9, 1);
    manager->updatePortStatus(0, 7, ~0ULL);
    EXPECT_EQ("<none>", stored(9));
    manager->updatePortStatus(8, 15, 1ULL << 9);
    EXPECT_EQ("1", stored(9));

    // Numbers outside the masks are refused, not shifted.
    manager->startUpdatePort(-1, 1);
    manager->startUpdatePort(64, 1);
    manager->startPortOperation(200);
    manager->endPortOperation(-3);
    manager->updatePortStatus(-8, 100, ~0ULL);
    EXPECT_EQ("<none>", stored(0));
}

TEST_F(PortStatusManagerTest, StoredOutletsWithoutADelaySlotAreNotRestored)
{
    GlobalData::getDevice().portCount = 16;
    store("(9, 1), (3, 1)");
    test::LogCapture log;
    manager->start();
    EXPECT_TRUE(log.contains("port:9 has no delay slot"));
    EXPECT_TRUE(log.contains("recover port:3,delay:0"));
    ASSERT_TRUE(runUntil([&] { return relayOn(3); }, 2.0));
}

TEST_F(PortStatusManagerTest, StateWhoseWriteFailedIsWrittenLaterAndRestored)
{
    bind();
    container->startQueryAllOutputsStatus(0.1);
    test::LogCapture log;
    // Another connection's exclusive lock: every write of outlet.db fails
    // until it ends. switchUnwritten switches, and waits for reports to try.
    SQLite::Database other(test::boardDatabase("outlet.db"), SQLite::OPEN_READWRITE);
    auto switchUnwritten = [&](int port, bool on) {
        other.exec("begin exclusive");
        ASSERT_TRUE(on ? container->turnOnPort(port, true) : container->turnOffPort(port, true));
        ASSERT_TRUE(runUntil([&] { return relayOn(port) == on; }, 5.0));
        ASSERT_TRUE(waitReports(4));
        SQLite::Statement row(other, "select count(*) from status where port=? and on_off=?");
        row.bind(1, port);
        row.bind(2, on ? 1 : 0);
        ASSERT_TRUE(row.executeStep());
        EXPECT_EQ(0, row.getColumn(0).getInt()) << "written under the lock";
        row.reset();
        other.exec("rollback");
    };

    // Written with the next report, with no request in between.
    switchUnwritten(3, true);
    ASSERT_TRUE(runUntil([&] { return stored(3) == "1"; }, 5.0));
    // Written along with a later change.
    switchUnwritten(3, false);
    ASSERT_TRUE(container->turnOnPort(5, true));
    ASSERT_TRUE(runUntil([&] { return stored(5) == "1"; }, 5.0));
    EXPECT_EQ("0", stored(3));
    // One line a run of failures, not one a report.
    EXPECT_EQ(2, log.count("not stored in outlet.db"));

    // After a restart the later states come back.
    container->stopQueryAllOutputsStatus();
    manager.reset(new PortStatusManager(container));
    emu.model().setRelayBits(0);
    manager->start();
    ASSERT_TRUE(runUntil([&] { return relayOn(5); }, 2.0));
    runFor(0.3);
    EXPECT_FALSE(relayOn(3));
}
