#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "EnergyDatabase.h"
#include "support/TestDatabases.h"

namespace
{
typedef std::vector<unsigned int> Series;
const unsigned int X = EnergyDatabase::kInvalidEnergy;

class EnergyDatabaseStatisticsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::resetBoardDatabases();
        database.reset(new EnergyDatabase);
    }

    static void row(int port, unsigned long long energy, const std::string& hour)
    {
        test::execSql(test::boardDatabase("energy.db"), "insert into statistics values(" + std::to_string(port) + "," +
                                                            std::to_string(energy) + ",'" + hour + "')");
    }

    std::unique_ptr<EnergyDatabase> database;
    std::vector<Series> out;
};
}

TEST_F(EnergyDatabaseStatisticsTest, HoursFillGapsAndCrossDayAndMonth)
{
    row(0, 5, "2024-05-01 10:00:00");
    row(0, 7, "2024-05-01 12:00:00");
    row(0, 9, "2024-05-01 13:00:00");  // after the range
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(false, 0x1, 2024, 5, 1, 10, 3, out));
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ((Series{5, X, 7}), out[0]);

    // 23:00 on the last day of a leap February rolls into 1 March.
    row(1, 1, "2024-02-28 23:00:00");
    row(1, 2, "2024-02-29 00:00:00");
    row(1, 3, "2024-02-29 23:00:00");
    row(1, 4, "2024-03-01 00:00:00");
    row(1, 5, "2024-03-01 02:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(false, 0x2, 2024, 2, 29, 23, 3, out));
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ((Series{3, 4, X}), out[0]);
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(false, 0x2, 2024, 2, 28, 23, 2, out));
    EXPECT_EQ((Series{1, 2}), out[0]);

    // New year.
    row(2, 8, "2025-01-01 00:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(false, 0x4, 2024, 12, 31, 23, 2, out));
    EXPECT_EQ((Series{X, 8}), out[0]);
}

TEST_F(EnergyDatabaseStatisticsTest, SeriesComeInPortOrderWithInletLast)
{
    row(255, 100, "2024-05-01 10:00:00");
    row(0, 1, "2024-05-01 10:00:00");
    row(2, 2, "2024-05-01 11:00:00");
    row(3, 3, "2024-05-01 10:00:00");  // not requested
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(true, 0x7, 2024, 5, 1, 10, 2, out));
    ASSERT_EQ(4u, out.size());
    EXPECT_EQ((Series{1, X}), out[0]);
    EXPECT_EQ((Series{X, X}), out[1]);
    EXPECT_EQ((Series{X, 2}), out[2]);
    EXPECT_EQ((Series{100, X}), out[3]);

    ASSERT_TRUE(database->loadEnergyStatisticsByHour(true, 0, 2024, 5, 1, 10, 1, out));
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ((Series{100}), out[0]);

    // Outlets above 31 travel in the 64-bit mask as well.
    row(40, 4, "2024-05-01 10:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(false, 1ULL << 40, 2024, 5, 1, 10, 1, out));
    EXPECT_EQ((Series{4}), out.at(0));
}

TEST_F(EnergyDatabaseStatisticsTest, DaysSumHoursInTheRequestersZone)
{
    row(0, 3, "2024-04-30 00:00:00");
    row(0, 4, "2024-04-30 23:00:00");
    row(0, 10, "2024-05-01 12:00:00");
    row(0, 99, "2024-05-03 00:00:00");  // after the range
    ASSERT_TRUE(database->loadEnergyStatisticsByDay(false, 0x1, 0, 2024, 4, 30, 0, 3, out));
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ((Series{7, 10, X}), out[0]);

    // Eight hours ahead: 17:00 stored is the next day for the requester,
    // and the first day starts at 16:00 stored.
    row(1, 1, "2024-04-30 16:00:00");
    row(1, 2, "2024-05-01 15:00:00");
    row(1, 5, "2024-05-01 17:00:00");
    row(1, 50, "2024-05-02 16:00:00");  // beyond the last day's last hour
    ASSERT_TRUE(database->loadEnergyStatisticsByDay(false, 0x2, 8, 2024, 4, 30, 16, 2, out));
    EXPECT_EQ((Series{3, 5}), out.at(0));

    // Five hours behind, across a month end.
    row(2, 1, "2024-06-01 05:00:00");
    row(2, 2, "2024-06-01 04:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByDay(false, 0x4, -5, 2024, 5, 31, 5, 2, out));
    EXPECT_EQ((Series{2, 1}), out.at(0));
}

TEST_F(EnergyDatabaseStatisticsTest, DailySumsKeepTheirLow32Bits)
{
    row(0, 0xFFFFFFFFull, "2024-05-01 01:00:00");
    row(0, 0xFFFFFFFFull, "2024-05-01 02:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByDay(false, 0x1, 0, 2024, 5, 1, 0, 1, out));
    EXPECT_EQ((Series{0xFFFFFFFEu}), out.at(0));
}

TEST_F(EnergyDatabaseStatisticsTest, MonthsAcrossLeapFebruaryAndNewYear)
{
    row(0, 1, "2024-02-01 00:00:00");
    row(0, 4, "2024-02-29 23:00:00");
    row(0, 8, "2024-03-01 00:00:00");  // after the range
    ASSERT_TRUE(database->loadEnergyStatisticsByMonth(false, 0x1, 0, 2024, 2, 1, 0, 1, out));
    EXPECT_EQ((Series{5}), out.at(0));

    row(1, 6, "2023-12-15 10:00:00");
    row(1, 7, "2024-02-10 10:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByMonth(false, 0x2, 0, 2023, 12, 1, 0, 3, out));
    EXPECT_EQ((Series{6, X, 7}), out.at(0));

    // Eight hours ahead: February ends at 15:00 on the 29th stored.
    row(2, 2, "2024-01-31 16:00:00");
    row(2, 3, "2024-02-29 15:00:00");
    row(2, 30, "2024-02-29 16:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByMonth(false, 0x4, 8, 2024, 1, 31, 16, 1, out));
    EXPECT_EQ((Series{5}), out.at(0));
}

TEST_F(EnergyDatabaseStatisticsTest, NoSpansGiveEmptySeriesPerPort)
{
    row(0, 1, "2024-01-01 00:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(true, 0x3, 2024, 1, 1, 0, 0, out));
    EXPECT_EQ((std::vector<Series>{{}, {}, {}}), out);
    ASSERT_TRUE(database->loadEnergyStatisticsByDay(false, 0x1, 0, 2024, 1, 1, 0, 0, out));
    EXPECT_EQ((std::vector<Series>{{}}), out);
    // A January start must not step back out of the months.
    ASSERT_TRUE(database->loadEnergyStatisticsByMonth(false, 0x1, 0, 2024, 1, 1, 0, 0, out));
    EXPECT_EQ((std::vector<Series>{{}}), out);
}

TEST_F(EnergyDatabaseStatisticsTest, BadRequestsFailWithAnEmptyResult)
{
    struct Case
    {
        int zone, year, month, day, hour, spans;
    };
    const Case cases[] = {
        {0, 2024, 13, 1, 0, 1},  {0, 2024, 0, 1, 0, 1},  {0, 2024, 2, 30, 0, 1},  {0, 2023, 2, 29, 0, 1},
        {0, 2024, 5, 0, 0, 1},   {0, 2024, 5, 1, 24, 1}, {0, 2024, 5, 1, -1, 1},  {0, 2024, 5, 1, 0, -1},
        {0, 2024, 5, 1, 0, 256}, {0, 99999, 5, 1, 0, 1}, {0, INT_MIN, 5, 1, 0, 1}, {200, 2024, 5, 1, 0, 1},
        {INT_MIN, 2024, 5, 1, 0, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day) + " " +
                     std::to_string(c.hour) + " spans " + std::to_string(c.spans) + " zone " + std::to_string(c.zone));
        out.assign(2, Series{1});
        if (c.zone == 0)
        {
            EXPECT_FALSE(database->loadEnergyStatisticsByHour(true, 1, c.year, c.month, c.day, c.hour, c.spans, out));
            EXPECT_TRUE(out.empty());
        }
        out.assign(2, Series{1});
        EXPECT_FALSE(database->loadEnergyStatisticsByDay(true, 1, c.zone, c.year, c.month, c.day, c.hour, c.spans, out));
        EXPECT_TRUE(out.empty());
        EXPECT_FALSE(database->loadEnergyStatisticsByMonth(true, 1, c.zone, c.year, c.month, c.day, c.hour, c.spans, out));
        EXPECT_TRUE(out.empty());
    }

    // Largest request that passes: 255 months from the latest year.
    ASSERT_TRUE(database->loadEnergyStatisticsByMonth(true, ~0ULL, -128, 9000, 12, 31, 23, 255, out));
    EXPECT_EQ(65u, out.size());
    EXPECT_EQ(255u, out[0].size());
}

TEST_F(EnergyDatabaseStatisticsTest, NoPortOrBrokenTableFails)
{
    out.assign(1, Series{1});
    EXPECT_FALSE(database->loadEnergyStatisticsByHour(false, 0, 2024, 5, 1, 0, 1, out));
    EXPECT_TRUE(out.empty());

    test::execSql(test::boardDatabase("energy.db"), "drop table statistics");
    EXPECT_FALSE(database->loadEnergyStatisticsByHour(true, 1, 2024, 5, 1, 0, 1, out));
    EXPECT_FALSE(database->loadEnergyStatisticsByDay(true, 1, 0, 2024, 5, 1, 0, 1, out));
    EXPECT_FALSE(database->loadEnergyStatisticsByMonth(true, 1, 0, 2024, 5, 1, 0, 1, out));
}

// Ranges across and past 2038, where a 32-bit time_t (the unit's) ends.
TEST_F(EnergyDatabaseStatisticsTest, RangesPastTheYear2038)
{
    row(0, 6, "2038-01-20 05:00:00");
    row(0, 9, "2040-02-03 04:00:00");
    ASSERT_TRUE(database->loadEnergyStatisticsByDay(false, 0x1, 0, 2038, 1, 18, 0, 4, out));
    EXPECT_EQ((Series{X, X, 6, X}), out.at(0));
    ASSERT_TRUE(database->loadEnergyStatisticsByHour(false, 0x1, 2038, 1, 20, 4, 3, out));
    EXPECT_EQ((Series{X, 6, X}), out.at(0));
    ASSERT_TRUE(database->loadEnergyStatisticsByMonth(false, 0x1, 2, 2040, 1, 1, 0, 2, out));
    EXPECT_EQ((Series{X, 9}), out.at(0));
}
