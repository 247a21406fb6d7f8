// A slave unit on the chain's pseudo-terminal with the test as its master:
// limits, delays, scheduled tasks, clock, energy, event log, reboot and ping
// watchdogs, each answer checked byte for byte with its lasting effect.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "DeviceClock.h"
#include "GlobalData.h"
#include "PduServer.h"
#include "PingTask.h"
#include "PingTaskContainer.h"
#include "ScheduledTaskContainer.h"
#include "platform/core/BoardRoot.h"
#include "support/ClockShift.h"
#include "support/FakeMaster.h"
#include "support/TestDatabases.h"

namespace
{
using test::boardSql;
using test::field16;
using test::repeatHex;

_Device& device() { return GlobalData::getDevice(); }
std::function<void()> expectSql(const std::string& query, const std::string& expected)
{
    return [=] { EXPECT_EQ(expected, boardSql(query)) << query; };
}
std::function<void()> outlets(int n)
{
    return [n] { device().portCount = n; };
}
// A board command that only records its call in R/commands.log.
void recordingCommand(const std::string& name)
{
    ::mkdir(board::path("/bin").c_str(), 0755);
    const std::string path = board::path("/bin/" + name);
    std::ofstream(path) << "#!/bin/sh\necho \"" << name << " $*\" >> \"$RAILBOX_ROOT/commands.log\"\n";
    ::chmod(path.c_str(), 0755);
}
std::string boardFile(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(board::path(path)).rdbuf();
    return text.str();
}
}

TEST(CascadeCtrlSlaveSettingsTest, LimitsAreAnsweredAndStoredWithinTheRecordsTables)
{
    test::FakeMaster master;
    const std::string outlet = "03E8 0000 0640 0000";
    const char* const outlet0 = "select current_max||'|'||current_min||'|'||outage_max||'|'||outage_min from alarms "
                                "where addr=0 and port=0";
    const char* const unit = "select voltage_max||'|'||voltage_min||'|'||current_max||'|'||current_min||'|'||"
                             "outage_max||'|'||outage_min||'|'||temperature_max||'|'||temperature_min "
                             "from alarms where addr=0 and port is null";
    test::askEach(
        master,
        {
            // Outlets the identity claims beyond the record's table answer unset limits.
            {"12 outlets", "08", "08 0C" + repeatHex(outlet, 8) + repeatHex("FFFF FFFF FFFF FFFF", 4), outlets(12)},
            {"outlets", "08", "08 08" + repeatHex(outlet, 8), outlets(8)},
            {"set outlet 0", "09 80000001 0064 0032 FFFF 001D", "09 00 00000001", nullptr,
             [&] {
                 EXPECT_EQ("1.0|0.5|16.0|0.29", boardSql(outlet0));
                 EXPECT_EQ(1.0, device().outputThresholds[0].warnUpperCurrent);
                 EXPECT_EQ(16.0, device().outputThresholds[0].offUpperCurrent);
             }},
            {"truncated both ways", "08", "08 08 0064 0032 0640 001C" + repeatHex(outlet, 7)},
            {"set ext", "24 0000000000000002 0190 0000 0640 0000", "24 00 0000000000000002", nullptr,
             expectSql("select current_max from alarms where addr=0 and port=1", "4.0")},
            // Outlet 9 is not here: the whole save fails, outlet 0 keeps its limits.
            {"outlets 0 and 9", "09 00000201 0190 0000 0640 0000 0001 0001 0001 0001", "09 01", nullptr,
             expectSql("select group_concat(current_max) from alarms where addr=0 and port in (0, 1)", "1.0,4.0")},
            {"ext outlets 0 and 9", "24 0000000000000201 0190 0000 0640 0000 FFFF FFFF FFFF FFFF", "24 01", nullptr,
             [&] {
                 EXPECT_EQ("1.0|0.5|16.0|0.29", boardSql(outlet0));
                 EXPECT_EQ(1.0, device().outputThresholds[0].warnUpperCurrent);
             }},
            {"a limit short", "09 00000001 0064 0032 FFFF", ""},
            {"inlet", "0A 07", "0A 03 09C4 076C 0640 0000"},
            {"set inlet", "0B 07 0960 0834 0578 0064 0708 0032", "0B 00 03 0960 0834 0578 0064", nullptr,
             [&] {
                 EXPECT_EQ("240.0|210.0|14.0|1.0|18.0|0.5|50.0|0.0", boardSql(unit));
                 EXPECT_EQ(20.0, device().inputThreshold.offUpperCurrent);  // the record keeps its cut-off pair
             }},
            {"inlet again", "0A 01", "0A 01 0960 0834"},
            {"environment", "0C 03", "0C 03 01F4 0000 0384 0000"},
            {"set temperature", "0D 01 FF38 0064", "0D 00 01", nullptr,
             [&] {
                 EXPECT_EQ("240.0|210.0|14.0|1.0|18.0|0.5|-20.0|10.0", boardSql(unit));
                 EXPECT_EQ(-20.0, device().tempHumiThreshold.warnUpperTemp);
             }},
            {"environment again", "0C 01", "0C 01 FF38 0064"},
            {"set without the unit row", "0D 02 0320 00C8", "0D 01",
             [] { test::execSql(test::boardDatabase("pdu.db"), "delete from alarms where port is null"); },
             [] { EXPECT_EQ(90.0, device().tempHumiThreshold.warnUpperHumi); }},
        });
}

TEST(CascadeCtrlSlaveSettingsTest, DelaysAreAnsweredAndStoredWithinTheRecordsTable)
{
    test::FakeMaster master;
    const char* const delays = "select group_concat(\"on\"||','||off||','||restart, '|') from delays "
                               "where addr=0 and port in (0, 2)";
    test::askEach(master, {
                              {"12 outlets", "0E",
                               "0E 0C" + repeatHex("0000 0000 0005", 8) + repeatHex("0000 0000 0000", 4), outlets(12)},
                              {"set", "0F 00000005 0005 0000 FFFF 000A 000B 000C", "0F 00 00000005", outlets(8),
                               [&] {
                                   EXPECT_EQ("5,0,5|10,11,12", boardSql(delays));
                                   EXPECT_EQ(5, device().portDelays[0].restartDelay);
                               }},
                              {"query", "0E",
                               "0E 08 0005 0000 0005 0000 0000 0005 000A 000B 000C" + repeatHex("0000 0000 0005", 5)},
                              {"no outlet", "25 8000000000000000", "25 00 8000000000000000", nullptr,
                               expectSql(delays, "5,0,5|10,11,12")},
                              // Outlet 9 is not here: the whole save fails, outlet 0 keeps its delays.
                              {"outlets 0 and 9", "0F 00000201 0001 0001 0001 0002 0002 0002", "0F 01", nullptr,
                               expectSql(delays, "5,0,5|10,11,12")},
                              {"ext outlets 0 and 9", "25 0000000000000201 0001 0001 0001 FFFF FFFF FFFF", "25 01",
                               nullptr, [&] {
                                   EXPECT_EQ("5,0,5|10,11,12", boardSql(delays));
                                   EXPECT_EQ(5, device().portDelays[0].onDelay);
                               }},
                              {"an entry short", "0F 00000007 0001 0001 0001 0002 0002 0002", "", nullptr,
                               expectSql(delays, "5,0,5|10,11,12")},
                          });
}

TEST(CascadeCtrlSlaveSettingsTest, ScheduledTasksAreStoredArmedAndListed)
{
    test::FakeMaster master;
    ScheduledTaskContainer& timers = *master.server().getScheduledTaskContainer();
    const std::string all = "FFFFFFFFFFFF FFFFFFFFFFFF";
    const std::string wake = "01 1A0C05081E00 3E" + field16("wake");
    const std::string noon = "00 1A0C070A0000 00" + field16("changed");
    const std::string cut = "abcdefghijklmn\xE4\xB8";  // a character cut by the field's end
    test::askEach(master,
                  {
                      {"none", "10 " + all, "10 0000"},
                      {"add", "11 00000003 " + wake, "11 00 00000001", nullptr,
                       [&] {
                           EXPECT_EQ("3|2026-12-05|08:30:00",
                                     boardSql("select ports||'|'||date||'|'||time from tasks where id=1"));
                           EXPECT_TRUE(timers.find(1));
                       }},
                      {"add ext", "27 8000000100000001 00 1A0C06090000 00" + field16("ext"), "27 00 00000002", nullptr,
                       expectSql("select ports from tasks where id=2", "1")},
                      {"list", "10 " + all,
                       "10 0002 00000002 00000001 00 1A0C06090000 00" + field16("ext") + "00000001 00000003 " + wake},
                      {"update", "12 00000001 00000001 " + noon, "12 00 00000001", nullptr,
                       expectSql("select date||' '||time from tasks where id=1", "2026-12-07 10:00:00")},
                      {"update ext", "28 00000002 0000000100000001 00 1A0C06090000 00" + field16("ext"),
                       "28 00 00000002", nullptr, expectSql("select ports from tasks where id=2", "1")},
                      {"update missing", "12 00000063 00000001 " + noon, "12 01"},
                      {"list ext", "26 " + all,
                       "26 0002 00000001 0000000000000001 " + noon + "00000002 0000000000000001 00 1A0C06090000 00" +
                           field16("ext")},
                      {"add cut remark", "11 00000001 01 1B0101000000 00" + field16(cut), "11 00 00000003"},
                      {"from 2027", "10 1B0101000000 FFFFFFFFFFFF",
                       "10 0001 00000003 00000001 01 1B0101000000 00" + field16("abcdefghijklmn")},
                      {"from 2027 ext", "26 1B0101000000 FFFFFFFFFFFF",
                       "26 0001 00000003 0000000000000001 01 1B0101000000 00" + field16(cut)},
                      {"delete one missing", "13 0002 00000001 00000063", "13 01", nullptr,
                       [&] {
                           EXPECT_EQ("3", boardSql("select count(*) from tasks"));
                           EXPECT_TRUE(timers.find(1));
                       }},
                      {"delete", "13 0001 00000001", "13 00", nullptr,
                       [&] {
                           EXPECT_EQ("2", boardSql("select count(*) from tasks"));
                           EXPECT_FALSE(timers.find(1));
                       }},
                      {"delete none", "13 0000", "13 00"},
                      {"ids short", "13 0002 00000002", ""},
                  });
}

TEST(CascadeCtrlSlaveSettingsTest, ClockEnergyLogAndReboot)
{
    test::ClockShift clock;
    test::FakeMaster master;
    recordingCommand("hwclock");
    recordingCommand("reboot");
    ::unlink(board::path("/commands.log").c_str());
    test::execSql(test::boardDatabase("pdu.db"), "insert into system_logs(type, content, is_read, datetime) values "
                                                 "(1, '{\"type\":1,\"desc\":3}', 0, '2024-05-06 07:08:09')");
    test::execSql(test::boardDatabase("energy.db"), "update variable set real_energy=500; insert into statistics "
                                                    "(port, energy, datetime) values (0, 123, '2024-06-01 00:00:00')");
    auto now = [](int year, int month, int day) {
        return [=] {
            const _DeviceDateTime t = DeviceClock::now();
            EXPECT_EQ(year * 10000 + month * 100 + day, t.year * 10000 + t.month * 100 + t.day);
        };
    };
    const std::string none = "FFFFFFFF";
    test::askEach(
        master,
        {
            {"set", "15 18021D173B3A", "15 00", nullptr,
             [&] {
                 now(2024, 2, 29)();
                 EXPECT_NE(std::string::npos, boardFile("/commands.log").find("hwclock -w\n"));
             }},
            {"set month 13", "15 180D01000000", "15 01", nullptr, now(2024, 2, 29)},
            {"log", "18 00 18 01 01 19 0C 1F", "18 0001 00000001 18 05 06 07 08 09 01 FF 03"},
            {"log backwards", "18 00 19 01 01 18 01 01", "18 0000"},
            {"energy by hour", "19 01 80000F01 00 18 06 01 00 02",
             "19 01 80000001 18 06 01 00 02 0000007B" + repeatHex(none, 3)},
            {"energy ext", "29 01 0000000000000001 00 18 06 01 01 01", "29 01 0000000000000001 18 06 01 01 01 " + none},
            {"energy type 4", "19 04 80000001 00 18 06 01 00 02", "19 04 00000000"},
            {"clear", "16", "16 00", nullptr,
             [&] {
                 EXPECT_EQ("0|0",
                           boardSql("select sum(real_energy)||'|'||(select count(*) from statistics) from variable",
                                    "energy.db"));
                 EXPECT_EQ(0u, device().energy[0].realEnergy);
             }},
            {"reboot", "17", "17 00", nullptr,
             [&] { EXPECT_NE(std::string::npos, boardFile("/commands.log").find("reboot \n")); }},
            {"a date short", "15 18021D173B", ""},
        });
    const test::Bytes time = master.ask({0x14});
    const _DeviceDateTime t = DeviceClock::now();
    ASSERT_EQ(8u, time.size());
    EXPECT_EQ(test::Bytes({0x14, 0x00, 0x18, 0x02, 0x1D}), test::Bytes(time.begin(), time.begin() + 5));
    EXPECT_EQ(t.hour * 3600 + t.minute * 60 + t.second, time[5] * 3600 + time[6] * 60 + time[7]);
}

TEST(CascadeCtrlSlaveSettingsTest, PingWatchdogsAndTestsOfTheUnitsOutlets)
{
    test::FakeMaster master;
    PingTaskContainer& pings = *master.server().getPingTaskContainer();
    const std::string watched = "7F000001 0A 03 02 01";
    const std::string idle = "0A000001 C8 05 00 00";  // one-byte fields are unsigned: 200 s
    const char* const rows = "select group_concat(port||','||ip||','||interval||','||timeout||','||action||','||"
                             "enabled, '|') from ping where ip != ''";
    test::askEach(master, {
                              {"nothing stored", "1E FFFFFFFF", "1E 00 80000000"},
                              {"set", "1B 00000005 " + watched + idle, "1B 00 00000005", nullptr,
                               [&] {
                                   EXPECT_EQ("0,127.0.0.1,10,3,2,1|2,10.0.0.1,200,5,0,0", boardSql(rows));
                                   ASSERT_TRUE(pings.find(0));
                                   EXPECT_TRUE(pings.find(0)->periodic());
                                   EXPECT_FALSE(pings.find(2));
                                   EXPECT_EQ(0x7F000001u, device().pingSettings.at(0).ip);
                               }},
                              {"query", "1E 8000000F", "1E 00 80000005 " + watched + idle},
                              {"query ext", "2B FFFFFFFFFFFFFFFF", "2B 00 8000000000000005 " + watched + idle},
                              {"an outlet without a row", "1B 00000201 " + idle + watched, "1B 01", nullptr,
                               expectSql(rows, "0,127.0.0.1,10,3,2,1|2,10.0.0.1,200,5,0,0")},
                              {"set ext", "2A 0000000000000002 " + watched, "2A 00 0000000000000002", nullptr,
                               [&] { EXPECT_TRUE(pings.find(1)); }},
                              {"test", "1C 03 7F000002", "1C 00 03", nullptr,
                               [&] {
                                   ASSERT_TRUE(pings.find(3));
                                   EXPECT_EQ("127.0.0.2", pings.find(3)->address());  // the host in its byte order
                                   EXPECT_FALSE(pings.find(3)->periodic());
                               }},
                              {"no test yet", "1D 05", "1D 01 05"},
                              {"test outside the outlets", "1C 09 7F000001", "1C 01 09", nullptr,
                               [&] { EXPECT_FALSE(pings.find(9)); }},
                              {"status outside the outlets", "1D C8", "1D 01 C8"},
                              {"a host short", "1C 03 7F0000", ""},
                          });
    ASSERT_TRUE(master.board().runUntil([] { return device().status.pingTestResult[3] == 1; }, 3.0));
    EXPECT_EQ(test::fromHex("1D 00 03"), master.ask({0x1D, 0x03}));
}
