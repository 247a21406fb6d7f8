#include <cstring>

#include "GlobalData.h"
#include "support/StoreFixture.h"

namespace
{
using GlobalDataIdentityTest = test::StoreFixture;
}

TEST_F(GlobalDataIdentityTest, MacText)
{
    const char bytes[6] = {0x0A, static_cast<char>(0xB0), 0x00, static_cast<char>(0xFF), 0x10, 0x01};
    std::string text;
    GlobalData::macToString(bytes, text);
    EXPECT_EQ("0A:B0:00:FF:10:01", text);

    char mac[6] = {};
    ASSERT_TRUE(GlobalData::stringToMac("0a:b0:00:ff:10:01", mac));
    EXPECT_EQ(0, std::memcmp(bytes, mac, 6));
    ASSERT_TRUE(GlobalData::stringToMac("0A:B0:0:FF:10:1", mac));
    EXPECT_EQ(0, std::memcmp(bytes, mac, 6));
    ASSERT_TRUE(GlobalData::stringToMac("1AB:2:3:4:5:6", mac));  // truncated to a byte
    EXPECT_EQ(static_cast<char>(0xAB), mac[0]);
}

TEST_F(GlobalDataIdentityTest, MalformedMacTextIsRefused)
{
    for (const char* bad : {"00:1A:2B:3C:4D", "00-1A-2B-3C-4D-5E", "00:1A:2B:3C:4D:", ":1A:2B:3C:4D:5E",
                            "00:1A:2B:3C:4D:5E:66", "G0:1A:2B:3C:4D:5E", "00:1A:2B:3C:4D:5 ", "",
                            "00:1A:2B:3C:4D:FFFFFFFFFFFFFFFFFFFF"})
    {
        char mac[6] = {};
        EXPECT_FALSE(GlobalData::stringToMac(bad, mac)) << bad;
    }
    char mac[6] = {};
    EXPECT_FALSE(GlobalData::stringToMac("11:22:zz:33:44:55", mac));
    EXPECT_EQ(0x11, mac[0]);  // bytes before the bad group are kept
    EXPECT_EQ(0x22, mac[1]);
}

TEST_F(GlobalDataIdentityTest, LoadUidPadsOrCutsToSixteen)
{
    char out[16];
    setSetting("hard_id", "G020312345");
    ASSERT_TRUE(GlobalData::loadUidFromDb(out));
    EXPECT_EQ(std::string("G020312345      "), std::string(out, 16));
    setSetting("hard_id", "G0203123456789ABCDEF");
    ASSERT_TRUE(GlobalData::loadUidFromDb(out));
    EXPECT_EQ(std::string("G0203123456789AB"), std::string(out, 16));
    dropSetting("hard_id");
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(GlobalData::loadUidFromDb(out));
    EXPECT_EQ(std::string(16, 'x'), std::string(out, 16));
}

TEST_F(GlobalDataIdentityTest, SaveUidWritesBothDatabases)
{
    sql("delete from settings where name='hard_id'");
    ASSERT_TRUE(GlobalData::saveUidToDb("G0D0E00000000009"));
    EXPECT_EQ("G0D0E00000000009", setting("hard_id"));
    EXPECT_EQ("G0D0E00000000009", setting("hard_id", pduDefault()));
    _Device d;
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb(d));
    EXPECT_EQ(44, d.portCount);
    EXPECT_EQ(63, d.maxInputCurrent);
}

TEST_F(GlobalDataIdentityTest, SaveMacWritesBothAndReportsAFailedFactoryCopy)
{
    const char bytes[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    ASSERT_TRUE(GlobalData::saveMacToDb(bytes));
    EXPECT_EQ("00:1A:2B:3C:4D:5E", setting("mac"));
    EXPECT_EQ("00:1A:2B:3C:4D:5E", setting("mac", pduDefault()));

    test::execSql(pduDefault(), "drop table settings");
    const char other[6] = {0x02, 0, 0, 0, 0, 0x09};
    EXPECT_FALSE(GlobalData::saveMacToDb(other));
    EXPECT_EQ("02:00:00:00:00:09", setting("mac"));  // pdu.db keeps the new value
}

TEST_F(GlobalDataIdentityTest, FailureOnPduDbLeavesTheFactoryCopyAlone)
{
    sql("drop table settings");
    EXPECT_FALSE(GlobalData::saveUidToDb("G010300000000002"));
    EXPECT_EQ("G020300000000001", setting("hard_id", pduDefault()));
}

TEST_F(GlobalDataIdentityTest, SaveUidExtWritesIdentityNameAndNetbiosToBoth)
{
    ASSERT_TRUE(GlobalData::saveUidExtToDb("G050300000000003", "Rack A", "rack-a"));
    for (const std::string& file : {pdu(), pduDefault()})
    {
        EXPECT_EQ("G050300000000003", setting("hard_id", file));
        EXPECT_EQ("rack-a", setting("netbios_name", file));
        EXPECT_EQ("Rack A", test::queryText(file, "select name from pdu_names where addr=0"));
    }
}

TEST_F(GlobalDataIdentityTest, SaveUidExtIsAllOrNothingPerDatabase)
{
    sql("delete from pdu_names");
    EXPECT_FALSE(GlobalData::saveUidExtToDb("G050300000000003", "Rack A", "rack-a"));
    EXPECT_EQ("G020300000000001", setting("hard_id"));
    EXPECT_EQ("PDU", setting("netbios_name"));
    EXPECT_EQ("G020300000000001", setting("hard_id", pduDefault()));

    test::resetBoardDatabases();
    test::execSql(pduDefault(), "delete from pdu_names");
    EXPECT_FALSE(GlobalData::saveUidExtToDb("G050300000000003", "Rack A", "rack-a"));
    EXPECT_EQ("G050300000000003", setting("hard_id"));
    EXPECT_EQ("G020300000000001", setting("hard_id", pduDefault()));
    EXPECT_EQ("PDU", setting("netbios_name", pduDefault()));
}

TEST_F(GlobalDataIdentityTest, FirmwareVersion)
{
    ASSERT_TRUE(GlobalData::saveFwVersionToDb("2.4.1"));
    std::string v;
    ASSERT_TRUE(GlobalData::loadFwVersionFromDb(v));
    EXPECT_EQ("2.4.1", v);
    dropSetting("soft_version");
    EXPECT_FALSE(GlobalData::saveFwVersionToDb("3"));
    EXPECT_FALSE(GlobalData::loadFwVersionFromDb(v));
    EXPECT_EQ("2.4.1", v);
}

TEST_F(GlobalDataIdentityTest, UpdateAddressNeedsTheRow)
{
    ASSERT_TRUE(GlobalData::updateAddress(12));
    EXPECT_EQ("12", setting("slave_address"));
    ASSERT_TRUE(GlobalData::updateAddress(-2147483647 - 1));
    EXPECT_EQ("-2147483648", setting("slave_address"));
    dropSetting("slave_address");
    EXPECT_FALSE(GlobalData::updateAddress(3));
    EXPECT_EQ("<none>", setting("slave_address"));
}

TEST_F(GlobalDataIdentityTest, ScreenDirection)
{
    bool normal = false;
    ASSERT_TRUE(GlobalData::loadScreenDirFromDb(normal));
    EXPECT_TRUE(normal);
    ASSERT_TRUE(GlobalData::saveScreenDirToDb(false));
    EXPECT_EQ("0", setting("screen_dir"));
    ASSERT_TRUE(GlobalData::loadScreenDirFromDb(normal));
    EXPECT_FALSE(normal);
    setSetting("screen_dir", "anything");
    ASSERT_TRUE(GlobalData::loadScreenDirFromDb(normal));
    EXPECT_TRUE(normal);
    dropSetting("screen_dir");
    EXPECT_FALSE(GlobalData::saveScreenDirToDb(true));
    EXPECT_FALSE(GlobalData::loadScreenDirFromDb(normal));
}

TEST_F(GlobalDataIdentityTest, BacklightAutoOff)
{
    ASSERT_TRUE(GlobalData::updateBacklightAutoOffToDb(5));
    int minutes = 0;
    ASSERT_TRUE(GlobalData::loadBacklightAutoOffDb(minutes));
    EXPECT_EQ(5, minutes);
    for (const char* bad : {"", "five", "5m", "-1", "99999999999"})
    {
        setSetting("backlight_auto_off", bad);
        minutes = 9;
        EXPECT_FALSE(GlobalData::loadBacklightAutoOffDb(minutes)) << bad;
        EXPECT_EQ(9, minutes);
    }
    dropSetting("backlight_auto_off");
    EXPECT_FALSE(GlobalData::updateBacklightAutoOffToDb(1));
    EXPECT_FALSE(GlobalData::loadBacklightAutoOffDb(minutes));
}
