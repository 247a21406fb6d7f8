#include "EnergyRecorder.h"

#include <gtest/gtest.h>

#include <string>

#include "EnergyDatabase.h"
#include "GlobalData.h"
#include "muduo/net/EventLoop.h"
#include "support/ClockShift.h"
#include "support/LoopUntil.h"
#include "support/TestDatabases.h"

namespace
{
const int kInlet = _Device::kInletEnergyIndex;

class EnergyRecorderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::resetBoardDatabases();
        device().portCount = 8;
        device().energy = {};
        clock.setLocal(2026, 6, 15, 10, 30, 0);
        database.reset(new EnergyDatabase);
        recorder.reset(new EnergyRecorder(&loop, *database));
    }

    void TearDown() override
    {
        recorder.reset();
        database.reset();
    }

    static _Device& device() { return GlobalData::getDevice(); }
    static std::string file() { return test::boardDatabase("energy.db"); }
    static std::string text(const std::string& sql) { return test::queryText(file(), sql); }
    static int statisticsRows() { return std::stoi(text("select count(*) from statistics")); }
    static std::string saved(int port)
    {
        return text("select save_energy || ' ' || save_datetime from variable where port=" + std::to_string(port));
    }
    static std::string statistic(int port)
    {
        return text("select energy || ' ' || datetime from statistics where port=" + std::to_string(port));
    }

    muduo::net::EventLoop loop;
    test::ClockShift clock;
    std::unique_ptr<EnergyDatabase> database;
    std::unique_ptr<EnergyRecorder> recorder;
};
}

TEST_F(EnergyRecorderTest, NeverSavedPortsTakeTheirCounterWithoutARow)
{
    device().energy[2].realEnergy = 120;
    device().energy[kInlet].realEnergy = 900;
    recorder->recordOnStartup();
    EXPECT_EQ(0, statisticsRows());
    EXPECT_EQ("120 2026-06-15 10:00:00", saved(2));
    EXPECT_EQ("900 2026-06-15 10:00:00", saved(255));
    EXPECT_EQ("0 2026-06-15 10:00:00", saved(7));
}

TEST_F(EnergyRecorderTest, SameHourNeverRaisesTheSavedValue)
{
    device().energy[1].realEnergy = 500;
    recorder->record();
    device().energy[1].realEnergy = 300;
    clock.setLocal(2026, 6, 15, 10, 59, 0);
    recorder->record();
    EXPECT_EQ("300 2026-06-15 10:00:00", saved(1));
    device().energy[1].realEnergy = 700;
    recorder->record();
    EXPECT_EQ("300 2026-06-15 10:00:00", saved(1));
    EXPECT_EQ(0, statisticsRows());
}

TEST_F(EnergyRecorderTest, StartupWritesTheRowOfAPortSavedADayAgo)
{
    device().energy[3].realEnergy = 100;
    device().energy[kInlet].realEnergy = 1000;
    recorder->record();

    clock.setLocal(2026, 6, 16, 10, 5, 0);
    device().energy[3].realEnergy = 350;
    device().energy[kInlet].realEnergy = 1500;
    EnergyRecorder restarted(&loop, *database);
    restarted.recordOnStartup();
    EXPECT_EQ("250 2026-06-15 10:00:00", statistic(3));
    EXPECT_EQ("500 2026-06-15 10:00:00", statistic(255));
    EXPECT_EQ("0 2026-06-15 10:00:00", statistic(0));
    EXPECT_EQ(9, statisticsRows());
    EXPECT_EQ("350 2026-06-16 10:00:00", saved(3));
}

TEST_F(EnergyRecorderTest, ClearedCounterYieldsZeroAcrossDayAndMonth)
{
    clock.setLocal(2026, 6, 30, 23, 40, 0);
    device().energy[0].realEnergy = 500;
    recorder->record();
    clock.setLocal(2026, 7, 1, 0, 1, 0);
    device().energy[0].realEnergy = 0;  // cleared in between
    recorder->record();
    EXPECT_EQ("0 2026-06-30 23:00:00", statistic(0));
    EXPECT_EQ("0 2026-07-01 00:00:00", saved(0));
}

TEST_F(EnergyRecorderTest, TrimsStatisticsOutsideTwoYears)
{
    test::execSql(file(), "insert into statistics values(0, 1, '2023-01-01 00:00:00'), (0, 2, '2026-01-01 00:00:00'),"
                          " (1, 3, '2029-01-01 00:00:00')");
    recorder->record();
    EXPECT_EQ("2 2026-01-01 00:00:00", statistic(0));
    EXPECT_EQ("<none>", statistic(1));
}

TEST_F(EnergyRecorderTest, OnlyOutletsWithCountersAreRecorded)
{
    device().portCount = 24;  // more than the record holds counters for
    test::execSql(file(), "insert into variable(port, save_energy, save_datetime) values(9, 5, '2026-06-15 08:00:00')");
    recorder->record();
    EXPECT_EQ("5 2026-06-15 08:00:00", saved(9));
    EXPECT_EQ("0 2026-06-15 10:00:00", saved(7));

    test::execSql(file(), "drop table variable");
    recorder->record();  // nothing to read, nothing written
    EXPECT_EQ(0, statisticsRows());
}

TEST_F(EnergyRecorderTest, ClockChangeRecordsAndRearmsForTheNewHour)
{
    device().energy[4].realEnergy = 10;
    recorder->recordOnStartup();
    recorder->start();

    clock.setLocal(2026, 6, 15, 11, 59, 59, 300000);
    device().energy[4].realEnergy = 40;
    recorder->recordOnTimeChanged();
    EXPECT_EQ("30 2026-06-15 10:00:00", statistic(4));
    EXPECT_EQ("40 2026-06-15 11:00:00", saved(4));

    device().energy[4].realEnergy = 45;
    ASSERT_TRUE(test::loopUntil(loop, [] { return statisticsRows() > 9; }, 5.0));
    EXPECT_EQ("5", text("select energy from statistics where port=4 and datetime='2026-06-15 11:00:00'"));
    EXPECT_EQ("45 2026-06-15 12:00:00", saved(4));
}
