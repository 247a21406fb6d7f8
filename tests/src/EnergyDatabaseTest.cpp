#include "EnergyDatabase.h"

#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "muduo/base/Logging.h"
#include "support/TestDatabases.h"

namespace
{
void toStderr(const char* msg, int len) { ::fwrite(msg, 1, static_cast<size_t>(len), stderr); }

PortEnergy at(int port, unsigned energy, int year, int month, int day, int hour)
{
    PortEnergy e;
    e.port = port;
    e.saveEnergy = energy;
    e.year = year;
    e.month = month;
    e.day = day;
    e.hour = hour;
    return e;
}

class EnergyDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::resetBoardDatabases();
    }

    std::string file() const { return test::boardDatabase("energy.db"); }
    int count(const std::string& sql) { return std::stoi(test::queryText(file(), sql)); }
    void exec(const std::string& sql) { test::execSql(file(), sql); }

};
}

TEST_F(EnergyDatabaseTest, CountersLoadAndUpdate)
{
    EnergyDatabase db;
    unsigned ref = 11, real = 22;
    ASSERT_TRUE(db.loadEnergy(0, ref, real));
    EXPECT_EQ(0u, ref);
    EXPECT_EQ(0u, real);

    ASSERT_TRUE(db.updateEnergy(255, 4000000000u, 250));
    ASSERT_TRUE(db.loadEnergy(255, ref, real));
    EXPECT_EQ(4000000000u, ref);
    EXPECT_EQ(250u, real);

    // A port without a row: outputs untouched, nothing created.
    ref = 5, real = 6;
    EXPECT_TRUE(db.loadEnergy(42, ref, real));
    EXPECT_EQ(5u, ref);
    EXPECT_EQ(6u, real);
    EXPECT_TRUE(db.updateEnergy(42, 1, 2));
    EXPECT_EQ(0, count("select count(*) from variable where port = 42"));
    EXPECT_EQ(9, count("select count(*) from variable"));
}

TEST_F(EnergyDatabaseTest, SavedStatesOfSeveralPorts)
{
    EnergyDatabase db;
    std::vector<int> none;
    std::vector<PortEnergy> out(1);
    EXPECT_FALSE(db.loadSaveEnergy(none, out));
    EXPECT_EQ(1u, out.size());

    exec("update variable set save_datetime = NULL where port = 1");
    std::vector<PortEnergy> saved{at(0, 500, 2024, 5, 1, 10)};
    std::vector<PortEnergy> stats;
    ASSERT_TRUE(db.recordAndUpdateEnergy(stats, saved));

    std::vector<int> ports{0, 1, 42, 255};
    ASSERT_TRUE(db.loadSaveEnergy(ports, out));
    ASSERT_EQ(3u, out.size());
    for (const PortEnergy& e : out)
    {
        if (e.port == 0)
        {
            EXPECT_EQ(500u, e.saveEnergy);
            EXPECT_EQ(2024, e.year);
            EXPECT_EQ(5, e.month);
            EXPECT_EQ(1, e.day);
            EXPECT_EQ(10, e.hour);
        }
        else
        {
            EXPECT_TRUE(e.port == 1 || e.port == 255);
            EXPECT_EQ(-1, e.year);
            EXPECT_EQ(-1, e.month);
            EXPECT_EQ(-1, e.day);
            EXPECT_EQ(-1, e.hour);
        }
    }

    PortEnergy one = at(7, 7, 7, 7, 7, 7);
    ASSERT_TRUE(db.loadSaveEnergy(0, one));
    EXPECT_EQ(0, one.port);
    EXPECT_EQ(10, one.hour);
    PortEnergy missing = at(7, 7, 7, 7, 7, 7);
    ASSERT_TRUE(db.loadSaveEnergy(99, missing));
    EXPECT_EQ(7, missing.port);
    EXPECT_EQ(7u, missing.saveEnergy);
}

TEST_F(EnergyDatabaseTest, HourlySaveKeepsTheRunningCounters)
{
    {
        EnergyDatabase db;
        ASSERT_TRUE(db.updateEnergy(0, 7000, 1234));
        std::vector<PortEnergy> stats{at(0, 34, 2024, 5, 1, 9)};
        std::vector<PortEnergy> saved{at(0, 1234, 2024, 5, 1, 10), at(77, 1, 2024, 5, 1, 10)};
        ASSERT_TRUE(db.recordAndUpdateEnergy(stats, saved));
    }
    // After a restart the counters come back as they were, nothing added twice.
    EnergyDatabase db;
    unsigned ref = 0, real = 0;
    ASSERT_TRUE(db.loadEnergy(0, ref, real));
    EXPECT_EQ(7000u, ref);
    EXPECT_EQ(1234u, real);
    PortEnergy saved;
    ASSERT_TRUE(db.loadSaveEnergy(0, saved));
    EXPECT_EQ(1234u, saved.saveEnergy);
    EXPECT_EQ(10, saved.hour);
    EXPECT_EQ(0, count("select count(*) from variable where port = 77"));
    EXPECT_EQ(34, count("select energy from statistics where port = 0 and datetime = '2024-05-01 09:00:00'"));

    // A second row for the same port and hour replaces the first.
    std::vector<PortEnergy> again{at(0, 40, 2024, 5, 1, 9)};
    std::vector<PortEnergy> none;
    ASSERT_TRUE(db.recordAndUpdateEnergy(again, none));
    EXPECT_EQ(1, count("select count(*) from statistics"));
    EXPECT_EQ(40, count("select energy from statistics"));
    EXPECT_TRUE(db.recordAndUpdateEnergy(none, none));
}

TEST_F(EnergyDatabaseTest, FailedHourlySaveChangesNothing)
{
    EnergyDatabase db;
    std::vector<PortEnergy> stats{at(1, 5, 2024, 5, 1, 9), at(2, 6, 2024, 13, 1, 9)};  // no such month
    std::vector<PortEnergy> saved{at(1, 99, 2024, 5, 1, 10)};
    EXPECT_FALSE(db.recordAndUpdateEnergy(stats, saved));
    EXPECT_EQ(0, count("select count(*) from statistics"));
    EXPECT_EQ(0, count("select save_energy from variable where port = 1"));
}

TEST_F(EnergyDatabaseTest, ClearKeepsReferenceAndDropsAllStatistics)
{
    EnergyDatabase db;
    ASSERT_TRUE(db.updateEnergy(0, 900, 300));
    ASSERT_TRUE(db.updateEnergy(1, 800, 200));
    std::vector<PortEnergy> stats{at(0, 5, 2024, 5, 1, 9), at(1, 6, 2024, 5, 1, 9)};
    std::vector<PortEnergy> saved{at(0, 300, 2024, 5, 1, 10)};
    ASSERT_TRUE(db.recordAndUpdateEnergy(stats, saved));

    std::vector<int> none;
    EXPECT_FALSE(db.clearEnergy(none));
    EXPECT_EQ(2, count("select count(*) from statistics"));

    std::vector<int> ports{0};
    ASSERT_TRUE(db.clearEnergy(ports));
    unsigned ref = 0, real = 1;
    ASSERT_TRUE(db.loadEnergy(0, ref, real));
    EXPECT_EQ(900u, ref);
    EXPECT_EQ(0u, real);
    ASSERT_TRUE(db.loadEnergy(1, ref, real));
    EXPECT_EQ(200u, real);
    PortEnergy s;
    ASSERT_TRUE(db.loadSaveEnergy(0, s));
    EXPECT_EQ(0u, s.saveEnergy);
    EXPECT_EQ(10, s.hour);
    EXPECT_EQ(0, count("select count(*) from statistics"));
}

TEST_F(EnergyDatabaseTest, StatisticsTrimKeepsTwoYearsEachWay)
{
    EnergyDatabase db;
    std::vector<PortEnergy> stats{at(0, 1, 2022, 3, 2, 10), at(0, 2, 2022, 3, 2, 9), at(0, 3, 2026, 3, 1, 10),
                                  at(0, 4, 2026, 3, 1, 11), at(0, 5, 2024, 3, 1, 10)};
    std::vector<PortEnergy> none;
    ASSERT_TRUE(db.recordAndUpdateEnergy(stats, none));
    ASSERT_TRUE(db.deleteStatisticsOutofRange(2024, 3, 1, 10));
    EXPECT_EQ(3, count("select count(*) from statistics"));
    EXPECT_EQ(9, count("select sum(energy) from statistics"));
}

TEST_F(EnergyDatabaseTest, HourKeyForm)
{
    EXPECT_EQ("2024-05-01 09:00:00", EnergyDatabase::hourKey(2024, 5, 1, 9));
}

TEST_F(EnergyDatabaseTest, MissingOrUnreadableFileIsFatal)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    ASSERT_EQ(0, std::remove(file().c_str()));
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(toStderr);
            EnergyDatabase db;
        },
        "FATAL.*energy\\.db");
    FILE* f = std::fopen(file().c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("this is not a database, just some text long enough to be looked at", f);
    std::fclose(f);
    EXPECT_DEATH(
        {
            muduo::Logger::setOutput(toStderr);
            EnergyDatabase db;
        },
        "FATAL.*energy\\.db");
}
