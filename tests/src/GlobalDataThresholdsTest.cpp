#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "GlobalData.h"
#include "Utility.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

namespace
{
const double kKeep = Utility::kInvalidDoubleValue;

class GlobalDataThresholdsTest : public test::StoreFixture
{
protected:
    static std::string column(const std::string& name, const std::string& where)
    {
        return test::queryText(pdu(), "select " + name + " from alarms where addr=0 and " + where);
    }
    static std::string unit(const std::string& name) { return column(name, "port is null"); }
    static std::string outlet(int port, const std::string& name)
    {
        return column(name, "port=" + std::to_string(port));
    }
    static _DeviceOutputThreshold limits(int port, double warnUp, double warnLow, double offUp, double offLow)
    {
        _DeviceOutputThreshold t;
        t.port = port;
        t.warnUpperCurrent = warnUp;
        t.warnLowerCurrent = warnLow;
        t.offUpperCurrent = offUp;
        t.offLowerCurrent = offLow;
        return t;
    }
};
}

TEST_F(GlobalDataThresholdsTest, SingleUnitLimitsRoundTrip)
{
    using Save = bool (*)(int, double);
    using Load = bool (*)(int, double&);
    const struct
    {
        Save save;
        Load load;
        const char* column;
    } limits[] = {
        {GlobalData::saveDeviceCurrentUpperThresholdToDb, GlobalData::loadDeviceCurrentUpperThresholdFromDb, "current_max"},
        {GlobalData::saveDeviceCurrentLowerThresholdToDb, GlobalData::loadDeviceCurrentLowerThresholdFromDb, "current_min"},
        {GlobalData::saveDeviceVoltageUpperThresholdToDb, GlobalData::loadDeviceVoltageUpperThresholdFromDb, "voltage_max"},
        {GlobalData::saveDeviceVoltageLowerThresholdToDb, GlobalData::loadDeviceVoltageLowerThresholdFromDb, "voltage_min"},
        {GlobalData::saveDeviceTempUpperThresholdToDb, GlobalData::loadDeviceTempUpperThresholdFromDb, "temperature_max"},
        {GlobalData::saveDeviceTempLowerThresholdToDb, GlobalData::loadDeviceTempLowerThresholdFromDb, "temperature_min"},
        {GlobalData::saveDeviceHumUpperThresholdToDb, GlobalData::loadDeviceHumUpperThresholdFromDb, "humidity_max"},
        {GlobalData::saveDeviceHumLowerThresholdToDb, GlobalData::loadDeviceHumLowerThresholdFromDb, "humidity_min"},
    };
    double v = 10.25;
    for (const auto& l : limits)
    {
        SCOPED_TRACE(l.column);
        ASSERT_TRUE(l.save(0, v));
        double back = -1;
        ASSERT_TRUE(l.load(0, back));
        EXPECT_DOUBLE_EQ(v, back);
        EXPECT_EQ("0.0", outlet(3, "ifnull(voltage_max, 0.0)"));  // outlet rows untouched
        // Saving the value it already holds still counts as a change.
        EXPECT_TRUE(l.save(0, v));
        // No unit row for address 5: false, the output stays.
        EXPECT_FALSE(l.save(5, 1.0));
        double untouched = 42;
        EXPECT_FALSE(l.load(5, untouched));
        EXPECT_EQ(42, untouched);
        v += 1.5;
    }
}

TEST_F(GlobalDataThresholdsTest, SingleOutletLimitsRoundTrip)
{
    ASSERT_TRUE(GlobalData::saveOutletWarnCurrentUpperThresholdToDb(0, 2, 9.5));
    ASSERT_TRUE(GlobalData::saveOutletWarnCurrentLowerThresholdToDb(0, 2, 0.5));
    ASSERT_TRUE(GlobalData::saveOutletFaultCurrentUpperThresholdToDb(0, 2, 15.5));
    ASSERT_TRUE(GlobalData::saveOutletFaultCurrentLowerThresholdToDb(0, 2, 0.25));
    double a = 0, b = 0, c = 0, d = 0;
    ASSERT_TRUE(GlobalData::loadOutletWarnCurrentUpperThresholdFromDb(0, 2, a));
    ASSERT_TRUE(GlobalData::loadOutletWarnCurrentLowerThresholdFromDb(0, 2, b));
    ASSERT_TRUE(GlobalData::loadOutletFaultCurrentUpperThresholdFromDb(0, 2, c));
    ASSERT_TRUE(GlobalData::loadOutletFaultCurrentLowerThresholdFromDb(0, 2, d));
    EXPECT_EQ(9.5, a);
    EXPECT_EQ(0.5, b);
    EXPECT_EQ(15.5, c);
    EXPECT_EQ(0.25, d);
    EXPECT_EQ("10.0", outlet(1, "current_max"));
    EXPECT_EQ("250.0", unit("voltage_max"));

    test::LogCapture log;
    double untouched = 7;
    EXPECT_FALSE(GlobalData::loadOutletFaultCurrentUpperThresholdFromDb(0, 8, untouched));
    EXPECT_EQ(7, untouched);
    EXPECT_TRUE(log.contains("query fault current upper failed"));
    EXPECT_FALSE(GlobalData::saveOutletWarnCurrentUpperThresholdToDb(0, 8, 1.0));
}

TEST_F(GlobalDataThresholdsTest, InputGroupSavesOnlyMaskedPairsAndLoadsWithMask)
{
    _DeviceInputThreshold t;
    t.mask = 0x01 | 0x04 | 0x80;  // voltage and cut-off; bit 7 means nothing
    t.warnUpperVoltage = 245;
    t.warnLowerVoltage = 195;
    t.warnUpperCurrent = 99;
    t.warnLowerCurrent = 98;
    t.offUpperCurrent = 18;
    t.offLowerCurrent = 1;
    ASSERT_TRUE(GlobalData::saveInputThresholdToDb(0, t));
    EXPECT_EQ("245.0", unit("voltage_max"));
    EXPECT_EQ("195.0", unit("voltage_min"));
    EXPECT_EQ("16.0", unit("current_max"));  // pair not in the mask
    EXPECT_EQ("18.0", unit("outage_max"));
    EXPECT_EQ("1.0", unit("outage_min"));

    // The start-up load sets a pair's bit when both columns hold a value.
    sql("update alarms set current_min=NULL where addr=0 and port is null");
    _Device device;
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb(device));
    EXPECT_EQ(0x05, device.inputThreshold.mask);
    EXPECT_EQ(245, device.inputThreshold.warnUpperVoltage);
    EXPECT_EQ(195, device.inputThreshold.warnLowerVoltage);
    EXPECT_EQ(18, device.inputThreshold.offUpperCurrent);
}

TEST_F(GlobalDataThresholdsTest, InputGroupEdgeCases)
{
    _DeviceInputThreshold none;
    EXPECT_TRUE(GlobalData::saveInputThresholdToDb(0, none));  // mask 0: an empty commit

    _DeviceInputThreshold all;
    all.mask = 0x07;
    all.warnUpperVoltage = 1;
    EXPECT_FALSE(GlobalData::saveInputThresholdToDb(3, all));  // no unit row for address 3
    EXPECT_EQ("<none>", column("voltage_max", "addr=3"));

    // A failing later pair rolls back the earlier one of the same call.
    sql("insert into alarms(addr, port, voltage_max) values(4, NULL, 200)");
    sql("create trigger refuse before update of current_max on alarms when new.addr=4 begin "
        "select raise(ignore); end");
    EXPECT_FALSE(GlobalData::saveInputThresholdToDb(4, all));
    EXPECT_EQ("200.0", test::queryText(pdu(), "select voltage_max from alarms where addr=4"));
}

TEST_F(GlobalDataThresholdsTest, TempHumGroupSavesMaskedPairs)
{
    _DeviceTempHumiThreshold t;
    t.mask = 0x02 | 0x04;  // humidity only; bit 2 means nothing
    t.warnUpperTemp = 70;
    t.warnLowerTemp = -10;
    t.warnUpperHumi = 80;
    t.warnLowerHumi = 10;
    ASSERT_TRUE(GlobalData::saveTempHumThresholdToDb(0, t));
    EXPECT_EQ("50.0", unit("temperature_max"));
    EXPECT_EQ("80.0", unit("humidity_max"));
    EXPECT_EQ("10.0", unit("humidity_min"));

    t.mask = 0x03;
    ASSERT_TRUE(GlobalData::saveTempHumThresholdToDb(0, t));
    _Device device;
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb(device));
    EXPECT_EQ(0x03, device.tempHumiThreshold.mask);
    EXPECT_EQ(70, device.tempHumiThreshold.warnUpperTemp);
    EXPECT_EQ(-10, device.tempHumiThreshold.warnLowerTemp);
    EXPECT_EQ(80, device.tempHumiThreshold.warnUpperHumi);

    EXPECT_FALSE(GlobalData::saveTempHumThresholdToDb(9, t));
    t.mask = 0;
    EXPECT_TRUE(GlobalData::saveTempHumThresholdToDb(9, t));
}

TEST_F(GlobalDataThresholdsTest, OutputGroupWritesValidLimitsOnly)
{
    _DeviceOutputThresholdSetting setting;
    setting.thresholds.push_back(limits(1, 12, kKeep, 18, kKeep));
    setting.thresholds.push_back(limits(2, kKeep, kKeep, kKeep, kKeep));  // skipped
    setting.thresholds.push_back(limits(3, kKeep, kKeep, kKeep, 0.5));
    test::LogCapture log;
    ASSERT_TRUE(GlobalData::saveOutputThresholdSettingToDb(0, setting));
    EXPECT_TRUE(log.contains("strSql:update alarms set current_max=?,outage_max=? where addr=? and port=?"));
    EXPECT_TRUE(log.contains("strSql:update alarms set outage_min=? where addr=? and port=?"));
    EXPECT_EQ("12.0", outlet(1, "current_max"));
    EXPECT_EQ("0.0", outlet(1, "current_min"));
    EXPECT_EQ("18.0", outlet(1, "outage_max"));
    EXPECT_EQ("10.0", outlet(2, "current_max"));
    EXPECT_EQ("0.5", outlet(3, "outage_min"));
    EXPECT_EQ("16.0", outlet(3, "outage_max"));

    _Device device;
    device.portCount = 8;
    ASSERT_TRUE(GlobalData::loadDeviceParamFromDb(device));
    EXPECT_EQ(12, device.outputThresholds[1].warnUpperCurrent);
    EXPECT_EQ(18, device.outputThresholds[1].offUpperCurrent);
    EXPECT_EQ(0.5, device.outputThresholds[3].offLowerCurrent);

    _DeviceOutputThresholdSetting empty;
    EXPECT_TRUE(GlobalData::saveOutputThresholdSettingToDb(0, empty));
}

TEST_F(GlobalDataThresholdsTest, OutputGroupIsAllOrNothing)
{
    _DeviceOutputThresholdSetting setting;
    setting.thresholds.push_back(limits(0, 5, 1, 7, 0));
    setting.thresholds.push_back(limits(8, 5, 1, 7, 0));  // no such row
    test::LogCapture log;
    EXPECT_FALSE(GlobalData::saveOutputThresholdSettingToDb(0, setting));
    EXPECT_TRUE(log.contains("save output threshold setting failed"));
    EXPECT_EQ("10.0", outlet(0, "current_max"));
    EXPECT_EQ("16.0", outlet(0, "outage_max"));
}

TEST_F(GlobalDataThresholdsTest, MissingDatabaseFailsWithoutThrowing)
{
    ASSERT_EQ(0, std::remove(pdu().c_str()));
    double v = 3;
    EXPECT_FALSE(GlobalData::loadDeviceVoltageUpperThresholdFromDb(0, v));
    EXPECT_EQ(3, v);
    EXPECT_FALSE(GlobalData::saveDeviceVoltageUpperThresholdToDb(0, 1));
    _DeviceInputThreshold t;
    t.mask = 1;
    EXPECT_FALSE(GlobalData::saveInputThresholdToDb(0, t));
}
