// sqlite3 reads the hourly energy statistics the daemon wrote: at start-up
// for the hour of the last save, and at the next full hour of its clock.
#include <gtest/gtest.h>

#include <ctime>

#include "e2e/E2eBoard.h"

namespace
{
std::string hourText(time_t t)
{
    char text[32];
    tm local;
    ::localtime_r(&t, &local);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:00:00", &local);
    return text;
}

time_t startOfHour(time_t t)
{
    tm local;
    ::localtime_r(&t, &local);
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TEST(EnergyStatisticsEndToEnd, HourlyRowsAtStartAndAtTheFullHour)
{
    e2e::E2eBoard board;
    // The board's clock stands 6 s before a full hour when the daemon starts.
    const time_t now = std::time(nullptr);
    const time_t boundary = startOfHour(now) + 3600;
    board.setClockOffsetMicros((static_cast<long long>(boundary - now) - 6) * 1000000LL);
    const std::string lastHour = hourText(boundary - 3600);
    const std::string savedHour = hourText(boundary - 3 * 3600);
    // Every port was saved two hours earlier at 100 and has counted on since.
    board.sql("energy.db", "update variable set real_energy = 250 + port, reference_energy = 0, save_energy = 100, "
                           "save_datetime = '" + savedHour + "'");

    ASSERT_TRUE(board.start());
    const std::string countAtSave = "select count(*) from statistics where datetime='" + savedHour + "'";
    ASSERT_TRUE(e2e::waitUntil([&] { return board.sql("energy.db", countAtSave) == "9"; }, 5)) << board.output();
    EXPECT_EQ("0|150\n1|151\n7|157\n255|405",
              board.sql("energy.db", "select port, energy from statistics where datetime='" + savedHour
                                         + "' and port in (0, 1, 7, 255) order by port"));

    // At the full hour: one row per port for the hour before it.
    const std::string countAtHour = "select count(*) from statistics where datetime='" + lastHour + "'";
    ASSERT_TRUE(e2e::waitUntil([&] { return board.sql("energy.db", countAtHour) == "9"; }, 12)) << board.output();
    EXPECT_EQ("9", board.sql("energy.db", "select count(*) from variable where save_datetime='"
                                              + hourText(boundary) + "'"));
    // The counters did not move (the emulator's meters read 0 kWh).
    EXPECT_EQ("0", board.sql("energy.db", "select max(energy) from statistics where datetime='" + lastHour + "'"));
    EXPECT_EQ("ok", board.sql("energy.db", "pragma integrity_check"));
    EXPECT_TRUE(board.running());
}
}
