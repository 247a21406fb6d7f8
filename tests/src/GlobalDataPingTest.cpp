#include "GlobalData.h"
#include "Utility.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

namespace
{
class GlobalDataPingTest : public test::StoreFixture
{
protected:
    static std::string column(int port, const std::string& name)
    {
        return test::queryText(pdu(), "select " + name + " from ping where addr=0 and port=" + std::to_string(port));
    }
    static PingSetting setting(int port, uint32_t ip)
    {
        PingSetting s;
        s.port = port;
        s.ip = ip;
        s.interval = 30;
        s.timeout = 4;
        s.action = 2;
        s.enabled = 1;
        return s;
    }
};
}

TEST_F(GlobalDataPingTest, FactoryRowsWithoutAddressGiveNoSettings)
{
    std::map<int, PingSetting> m;
    EXPECT_TRUE(GlobalData::loadPingSettingFromDb(m));
    EXPECT_TRUE(m.empty());
}

TEST_F(GlobalDataPingTest, AddressRoundTripsThroughHostOrder)
{
    sql("update ping set ip='192.168.1.10',interval=60,timeout=5,action=1,enabled=1 where addr=0 and port=4");
    std::map<int, PingSetting> m;
    ASSERT_TRUE(GlobalData::loadPingSettingFromDb(m));
    ASSERT_EQ(1u, m.size());
    const PingSetting& s = m.at(4);
    EXPECT_EQ(4, s.port);
    EXPECT_EQ(Utility::makeIp(192, 168, 1, 10), s.ip);
    EXPECT_EQ(192u, s.ip >> 24);
    EXPECT_EQ(10u, s.ip & 0xFF);
    EXPECT_EQ(60u, s.interval);
    EXPECT_EQ(5u, s.timeout);
    EXPECT_EQ(1, s.action);
    EXPECT_EQ(1, s.enabled);

    sql("update ping set ip='' where port=4");
    ASSERT_TRUE(GlobalData::savePingSettingToDb(m));
    EXPECT_EQ("192.168.1.10", column(4, "ip"));
    EXPECT_EQ("60", column(4, "interval"));
    EXPECT_EQ("5", column(4, "timeout"));
}

TEST_F(GlobalDataPingTest, SaveUsesTheSettingsOwnPortAndIsAllOrNothing)
{
    EXPECT_TRUE(GlobalData::savePingSettingToDb({}));

    std::map<int, PingSetting> m{{3, setting(5, Utility::makeIp(10, 1, 2, 3))}};
    ASSERT_TRUE(GlobalData::savePingSettingToDb(m));
    EXPECT_EQ("10.1.2.3", column(5, "ip"));
    EXPECT_EQ("", column(3, "ip"));
    EXPECT_EQ("2", column(5, "action"));
    EXPECT_EQ("1", column(5, "enabled"));

    std::map<int, PingSetting> partly{{1, setting(1, Utility::makeIp(10, 9, 9, 9))},
                                      {42, setting(42, Utility::makeIp(10, 9, 9, 9))}};
    EXPECT_FALSE(GlobalData::savePingSettingToDb(partly));
    EXPECT_EQ("", column(1, "ip"));
}

TEST_F(GlobalDataPingTest, LoadKeepsEntriesAndSkipsUnreadableAddresses)
{
    sql("update ping set ip='10.0.0.2' where port in (2, 3)");
    sql("update ping set ip='300.1.1.1' where port=6");
    std::map<int, PingSetting> m{{2, setting(2, 1)}};
    test::LogCapture log;
    ASSERT_TRUE(GlobalData::loadPingSettingFromDb(m));
    EXPECT_EQ(2u, m.size());
    EXPECT_EQ(1u, m.at(2).ip);
    EXPECT_EQ(Utility::makeIp(10, 0, 0, 2), m.at(3).ip);
    EXPECT_EQ(0u, m.count(6));
    EXPECT_EQ(1, log.count("bad address:300.1.1.1"));
}
