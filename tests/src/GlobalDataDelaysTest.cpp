#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "GlobalData.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

namespace
{
class GlobalDataDelaysTest : public test::StoreFixture
{
protected:
    static std::string delayOf(int port, const std::string& column)
    {
        return test::queryText(pdu(), "select " + column + " from delays where addr=0 and port=" + std::to_string(port));
    }
    static std::string nameColumn(const std::string& column)
    {
        return test::queryText(pdu(), "select " + column + " from pdu_names where addr=0");
    }
    static _DevicePortDelay delay(int port, int on, int off, int restart)
    {
        _DevicePortDelay d;
        d.port = port;
        d.onDelay = on;
        d.offDelay = off;
        d.restartDelay = restart;
        return d;
    }
};
}

TEST_F(GlobalDataDelaysTest, SingleDelaysRoundTrip)
{
    ASSERT_TRUE(GlobalData::saveOutletOnDelayToDb(0, 2, 7));
    ASSERT_TRUE(GlobalData::saveOutletOffDelayToDb(0, 2, 8));
    ASSERT_TRUE(GlobalData::saveOutletRestartDelayToDb(0, 2, 9));
    int on = 0, off = 0, restart = 0;
    ASSERT_TRUE(GlobalData::loadOutletOnDelayFromDb(0, 2, on));
    ASSERT_TRUE(GlobalData::loadOutletOffDelayFromDb(0, 2, off));
    ASSERT_TRUE(GlobalData::loadOutletRestartDelayFromDb(0, 2, restart));
    EXPECT_EQ(7, on);
    EXPECT_EQ(8, off);
    EXPECT_EQ(9, restart);
    EXPECT_EQ("0", delayOf(1, "\"on\""));

    test::LogCapture log;
    int untouched = 42;
    EXPECT_FALSE(GlobalData::loadOutletOnDelayFromDb(0, 20, untouched));
    EXPECT_FALSE(GlobalData::loadOutletOffDelayFromDb(3, 0, untouched));
    EXPECT_FALSE(GlobalData::loadOutletRestartDelayFromDb(0, -1, untouched));
    EXPECT_EQ(42, untouched);
    EXPECT_TRUE(log.contains("query outlet on delay failed"));
    EXPECT_TRUE(log.contains("query outlet off delay failed"));
    EXPECT_TRUE(log.contains("query outlet restart delay failed"));
    EXPECT_FALSE(GlobalData::saveOutletOnDelayToDb(0, 20, 1));
    EXPECT_TRUE(log.contains("save port delay failed"));
}

TEST_F(GlobalDataDelaysTest, DelayListWritesOnlyGivenColumns)
{
    test::LogCapture log;
    ASSERT_TRUE(GlobalData::savePortDelayToDb(0, {delay(3, -1, 5, -1), delay(2, -1, -1, -1), delay(4, 1, -2, 30)}));
    EXPECT_TRUE(log.contains("update delays set off=? where addr=? and port=?"));
    EXPECT_EQ("0", delayOf(3, "\"on\""));
    EXPECT_EQ("5", delayOf(3, "off"));
    EXPECT_EQ("5", delayOf(3, "restart"));  // the factory value stays
    EXPECT_EQ("1", delayOf(4, "\"on\""));
    EXPECT_EQ("-2", delayOf(4, "off"));
    EXPECT_EQ("30", delayOf(4, "restart"));
    EXPECT_TRUE(GlobalData::savePortDelayToDb(0, {}));
}

TEST_F(GlobalDataDelaysTest, DelayListIsAllOrNothing)
{
    EXPECT_FALSE(GlobalData::savePortDelayToDb(0, {delay(1, 11, 12, 13), delay(9, 1, 1, 1)}));
    EXPECT_EQ("0", delayOf(1, "\"on\""));
    EXPECT_EQ("0", delayOf(1, "off"));
    EXPECT_EQ("5", delayOf(1, "restart"));
}

TEST_F(GlobalDataDelaysTest, StartupSkipsDelayRowsOutsideTheOutlets)
{
    sql("insert into delays(addr, port, \"on\", off, restart) values (0, -1, 77, 77, 77), (0, 8, 88, 88, 88),"
        " (0, 100000, 1, 1, 1)");
    sql("update delays set \"on\"=3 where port=7");
    _Device device;
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb(device));
    ASSERT_EQ(8, device.slotCount());
    for (const _DevicePortDelay& d : device.portDelays)
        EXPECT_NE(77, d.onDelay);
    EXPECT_EQ(3, device.portDelays[7].onDelay);
}

TEST_F(GlobalDataDelaysTest, SingleNamesRoundTrip)
{
    ASSERT_TRUE(GlobalData::saveDeviceNameToDb(0, "Rack 'A'"));
    ASSERT_TRUE(GlobalData::saveOutletNameToDb(0, 7, "Router \"main\""));
    std::string name;
    ASSERT_TRUE(GlobalData::loadDeviceNameFromDb(0, name));
    EXPECT_EQ("Rack 'A'", name);
    ASSERT_TRUE(GlobalData::loadOutletNameFromDb(0, 7, name));
    EXPECT_EQ("Router \"main\"", name);

    test::LogCapture log;
    name = "kept";
    EXPECT_FALSE(GlobalData::loadDeviceNameFromDb(5, name));
    EXPECT_FALSE(GlobalData::loadOutletNameFromDb(5, 0, name));
    EXPECT_FALSE(GlobalData::loadOutletNameFromDb(0, 8, name));  // no such column
    EXPECT_FALSE(GlobalData::loadOutletNameFromDb(0, -1, name));
    EXPECT_EQ("kept", name);
    EXPECT_TRUE(log.contains("query device name failed"));
    EXPECT_TRUE(log.contains("query outlet name failed"));
    EXPECT_FALSE(GlobalData::saveDeviceNameToDb(5, "x"));
    EXPECT_TRUE(log.contains("save device name failed"));
    EXPECT_FALSE(GlobalData::saveOutletNameToDb(5, 0, "x"));
    EXPECT_TRUE(log.contains("save outlet name failed"));
    EXPECT_FALSE(GlobalData::saveOutletNameToDb(0, 8, "x"));
    EXPECT_EQ("Rack 'A'", nameColumn("name"));
}

TEST_F(GlobalDataDelaysTest, NameMapsRoundTrip)
{
    ASSERT_TRUE(GlobalData::saveNamesToDb({{-1, "O'Brien's PDU"}, {0, "Server; drop table x"}, {3, ""}}));
    EXPECT_EQ("O'Brien's PDU", nameColumn("name"));
    EXPECT_EQ("Server; drop table x", nameColumn("port_0"));
    EXPECT_EQ("", nameColumn("port_3"));
    EXPECT_EQ("Outlet2", nameColumn("port_1"));

    sql("update pdu_names set port_1=NULL");
    std::map<int, std::string> names{{5, "stale"}};
    ASSERT_TRUE(GlobalData::loadNamesFromDb({-1, 0, 1}, names));
    EXPECT_EQ((std::map<int, std::string>{{-1, "O'Brien's PDU"}, {0, "Server; drop table x"}}), names);

    EXPECT_FALSE(GlobalData::saveNamesToDb({}));
    EXPECT_FALSE(GlobalData::saveNamesToDb({{-2, "x"}}));
    EXPECT_FALSE(GlobalData::saveNamesToDb({{0, "x"}, {8, "y"}}));
    EXPECT_EQ("Server; drop table x", nameColumn("port_0"));
}
