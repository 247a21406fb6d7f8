#include <arpa/inet.h>

#include <vector>

#include "GlobalData.h"
#include "Utility.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

namespace
{
class GlobalDataTest : public test::StoreFixture
{
protected:
    template <class Map>
    static std::vector<int> keysOf(const Map& map)
    {
        std::vector<int> keys;
        for (const auto& entry : map)
            keys.push_back(entry.first);
        return keys;
    }

    _Device load()
    {
        _Device device;
        EXPECT_TRUE(GlobalData::loadDeviceParamFromDb(device));
        return device;
    }
};
}

TEST_F(GlobalDataTest, FactorySetLoadsEverySetting)
{
    _Device d = load();
    EXPECT_EQ("G020300000000001", d.uid);
    EXPECT_EQ(8, d.portCount);
    EXPECT_EQ(16, d.maxInputCurrent);
    EXPECT_TRUE(d.isMaster);
    EXPECT_EQ(0, d.address);
    EXPECT_TRUE(d.slaves.empty());
    EXPECT_EQ("PDU", d.deviceName);
    EXPECT_EQ("Outlet1", d.portNames[0]);
    EXPECT_EQ("Outlet8", d.portNames[7]);
    EXPECT_EQ(kLanguageEnglish, d.language);
    EXPECT_EQ(Utility::makeIp(192, 168, 0, 1), d.gateway);
    EXPECT_EQ(3, d.netbiosName.length);
    EXPECT_EQ(std::string("PDU"), std::string(d.netbiosName.name, 3));
    EXPECT_EQ("1.0.0", d.softVersion);
    EXPECT_EQ("127.0.0.1", d.ntpServer);
    EXPECT_EQ(0x07, d.inputThreshold.mask);
    EXPECT_DOUBLE_EQ(250, d.inputThreshold.warnUpperVoltage);
    EXPECT_DOUBLE_EQ(190, d.inputThreshold.warnLowerVoltage);
    EXPECT_DOUBLE_EQ(20, d.inputThreshold.offUpperCurrent);
    EXPECT_EQ(0x03, d.tempHumiThreshold.mask);
    EXPECT_DOUBLE_EQ(50, d.tempHumiThreshold.warnUpperTemp);
    EXPECT_EQ(7, d.outputThresholds[7].port);
    EXPECT_DOUBLE_EQ(10, d.outputThresholds[7].warnUpperCurrent);
    EXPECT_DOUBLE_EQ(16, d.outputThresholds[7].offUpperCurrent);
    EXPECT_EQ(7, d.portDelays[7].port);
    EXPECT_EQ(5, d.portDelays[7].restartDelay);
}

TEST_F(GlobalDataTest, EmptySettingsTableGivesTheDefaults)
{
    sql("delete from settings");
    _Device d = load();
    EXPECT_TRUE(d.isMaster);
    EXPECT_EQ(0, d.address);
    EXPECT_EQ(8, d.portCount);
    EXPECT_EQ(16, d.maxInputCurrent);
    EXPECT_EQ(kLanguageEnglish, d.language);
    EXPECT_EQ(0xC0A80001u, d.gateway);
    EXPECT_TRUE(d.slaves.empty());
    EXPECT_EQ("", d.uid);
    EXPECT_EQ("", d.softVersion);
    EXPECT_EQ("", d.description);
    EXPECT_EQ("", d.ntpServer);
    EXPECT_EQ(0, d.netbiosName.length);
}

TEST_F(GlobalDataTest, EachMissingTableRowKeepsItsDefault)
{
    sql("delete from alarms; delete from delays; delete from pdu_names");
    _Device d = load();
    EXPECT_EQ("", d.deviceName);
    EXPECT_EQ("", d.portNames[0]);
    EXPECT_EQ(0, d.inputThreshold.mask);
    EXPECT_EQ(0, d.tempHumiThreshold.mask);
    EXPECT_EQ(0, d.portDelays[3].restartDelay);
    EXPECT_DOUBLE_EQ(0, d.outputThresholds[3].warnUpperCurrent);
}

TEST_F(GlobalDataTest, UnparsableUidFallsBackToEightOutletsSixteenAmps)
{
    setSetting("hard_id", "X123");
    _Device d = load();
    EXPECT_EQ("X123", d.uid);
    EXPECT_EQ(8, d.portCount);
    EXPECT_EQ(16, d.maxInputCurrent);
}

TEST_F(GlobalDataTest, RoleAndAddress)
{
    setSetting("pdu_type", "slave");
    setSetting("slave_address", "3");
    _Device d = load();
    EXPECT_FALSE(d.isMaster);
    EXPECT_EQ(3, d.address);

    dropSetting("slave_address");
    d = load();
    EXPECT_TRUE(d.isMaster);
    EXPECT_EQ(0, d.address);

    setSetting("pdu_type", "master");
    setSetting("slave_address", "2");
    d = load();
    EXPECT_TRUE(d.isMaster);
    EXPECT_EQ(2, d.address);
}

TEST_F(GlobalDataTest, BadSlaveAddressCountsAsMissing)
{
    setSetting("pdu_type", "slave");
    for (const char* bad : {"", "abc", "3x", "99999999999", " 3"})
    {
        setSetting("slave_address", bad);
        _Device d = load();
        EXPECT_TRUE(d.isMaster) << bad;
        EXPECT_EQ(0, d.address) << bad;
    }
}

TEST_F(GlobalDataTest, SlaveListKeepsFirstRecordOfEachAddress)
{
    setSetting("slave_addresses", R"([{"addr":1},{"addr":2},{"addr":1},{"name":"x"},5,{"addr":"3"}])");
    _Device d = load();
    ASSERT_EQ(2u, d.slaves.size());
    EXPECT_EQ(1, d.slaves.at(1).address);
    EXPECT_EQ(2, d.slaves.at(2).address);
    EXPECT_FALSE(d.slaves.at(2).valid);
    EXPECT_EQ(0, d.slaves.at(2).portCount);

    for (const char* bad : {"not json", "{\"addr\":1}", ""})
    {
        setSetting("slave_addresses", bad);
        EXPECT_TRUE(load().slaves.empty()) << bad;
    }

    // Only addresses the chain can carry for a slave; one line tells what was skipped.
    {
        test::LogCapture log;
        setSetting("slave_addresses", R"([{"addr":0},{"addr":-1},{"addr":256},{"addr":255},{"addr":1},{"addr":300}])");
        d = load();
        EXPECT_EQ((std::vector<int>{1, 255}), keysOf(d.slaves));
        EXPECT_EQ(1, log.count("slave_addresses: 4 address(es) skipped"));
    }

    setSetting("slave_addresses", R"([{"addr":1}])");
    setSetting("pdu_type", "slave");
    setSetting("slave_address", "4");
    EXPECT_TRUE(load().slaves.empty());
}

TEST_F(GlobalDataTest, NullUnitLimitKeepsFieldAndMaskBit)
{
    sql("update alarms set voltage_min=NULL, voltage_max=250, humidity_max=NULL where port is null");
    _Device d;
    d.inputThreshold.warnLowerVoltage = 123;
    d.tempHumiThreshold.warnUpperHumi = 77;
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb(d));
    EXPECT_DOUBLE_EQ(250, d.inputThreshold.warnUpperVoltage);
    EXPECT_DOUBLE_EQ(123, d.inputThreshold.warnLowerVoltage);
    EXPECT_EQ(0x06, d.inputThreshold.mask);
    EXPECT_DOUBLE_EQ(77, d.tempHumiThreshold.warnUpperHumi);
    EXPECT_EQ(0x01, d.tempHumiThreshold.mask);
}

TEST_F(GlobalDataTest, RowsOutsideTheOutletSlotsAreIgnored)
{
    // Identity claims 4 outlets: rows for outlet 5 are not loaded.
    setSetting("hard_id", "G010300000000001");
    sql("update delays set restart=9; update alarms set current_max=3 where port is not null;"
        "insert into delays(addr, port, \"on\", off, restart) values(0, -1, 1, 1, 1), (0, 100, 1, 1, 1);"
        "insert into alarms(addr, port, current_max) values(0, -2, 1), (0, 8, 1)");
    _Device d = load();
    EXPECT_EQ(4, d.portCount);
    EXPECT_EQ(9, d.portDelays[3].restartDelay);
    EXPECT_EQ(0, d.portDelays[5].restartDelay);
    EXPECT_DOUBLE_EQ(3, d.outputThresholds[3].warnUpperCurrent);
    EXPECT_DOUBLE_EQ(0, d.outputThresholds[5].warnUpperCurrent);
    EXPECT_EQ("Outlet4", d.portNames[3]);
    EXPECT_EQ("", d.portNames[4]);
}

TEST_F(GlobalDataTest, IdentityWithMoreOutletsThanSlotsStaysInsideTheTables)
{
    setSetting("hard_id", "G0E0300000000001");  // 48 outlets
    sql("update delays set restart=7");
    _Device d = load();
    EXPECT_EQ(48, d.portCount);
    EXPECT_EQ(96, d.maxInputCurrent);
    EXPECT_EQ(8, d.slotCount());
    EXPECT_EQ(7, d.portDelays[7].restartDelay);
    EXPECT_EQ("Outlet8", d.portNames[7]);  // names of outlets 0-7 still load
}

TEST_F(GlobalDataTest, LanguageChineseOnlyForChs)
{
    setSetting("language", "CHS");
    EXPECT_EQ(kLanguageChinese, load().language);
    setSetting("language", "chs");
    EXPECT_EQ(kLanguageEnglish, load().language);
}

TEST_F(GlobalDataTest, MissingDatabaseIsAFailedLoadNotACrash)
{
    ::unlink(pdu().c_str());
    _Device d;
    test::LogCapture log;
    EXPECT_FALSE(GlobalData::loadDeviceParamFromDb(d));
    EXPECT_FALSE(GlobalData::saveSettingValueToDb("dhcp", "1"));
    // Through the logger (its file and its rate), not the standard error stream.
    EXPECT_EQ(2, log.count("ERROR unable to open database file"));
}

TEST_F(GlobalDataTest, SaveSettingValueUpdatesOnlyExistingKeys)
{
    EXPECT_TRUE(GlobalData::saveSettingValueToDb("description", "rack 4"));
    EXPECT_EQ("rack 4", setting("description"));
    EXPECT_EQ("rack 4", load().description);
    EXPECT_FALSE(GlobalData::saveSettingValueToDb("no_such_key", "1"));
    EXPECT_EQ("<none>", setting("no_such_key"));
    // The factory copy is never touched by an ordinary save.
    EXPECT_EQ("", setting("description", pduDefault()));
}

TEST_F(GlobalDataTest, SingletonLoadFillsTheRecord)
{
    GlobalData::getDevice() = _Device();
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb());
    EXPECT_EQ(8, GlobalData::instance()->getDevice().portCount);
    EXPECT_EQ(&GlobalData::getDevice(), &GlobalData::instance()->getDevice());
}

TEST_F(GlobalDataTest, LoadNamesFromDb)
{
    sql("update pdu_names set port_1=NULL where addr=0");
    std::map<int, std::string> names{{5, "stale"}};
    ASSERT_TRUE(GlobalData::loadNamesFromDb({-1, 0, 1}, names));
    EXPECT_EQ((std::map<int, std::string>{{-1, "PDU"}, {0, "Outlet1"}}), names);

    sql("delete from pdu_names");
    EXPECT_FALSE(GlobalData::loadNamesFromDb({-1}, names));
    EXPECT_EQ(2u, names.size());
    EXPECT_FALSE(GlobalData::loadNamesFromDb({-1, 60}, names));  // no such column
}
