// The limit saves shared by every interface, one limit at a time: the one
// changed reaches its pdu.db column and the record the alarm monitor reads at
// once, and no other limit of the record moves.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GlobalData.h"
#include "OutletThresholdSettings.h"
#include "UnitThresholdSettings.h"
#include "Utility.h"
#include "support/RecordLimits.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

namespace
{
const double kKeep = Utility::kInvalidDoubleValue;
const int kOutlet = 1;

_Device& device() { return GlobalData::getDevice(); }

// One save of one limit: the save, the record limit it must change ("" for
// none) and the pdu.db column it must reach (in the unit's row, or outlet 1's).
struct Save
{
    std::function<bool(double)> save;
    std::string limit;
    std::string column;
    bool outletRow;
};

_DeviceInputThreshold input(uint8_t mask, double _DeviceInputThreshold::*field, double v)
{
    _DeviceInputThreshold t = device().inputThreshold;  // the pair's other limit as it stands
    t.mask = mask;
    t.*field = v;
    return t;
}
_DeviceTempHumiThreshold environment(uint8_t mask, double _DeviceTempHumiThreshold::*field, double v)
{
    _DeviceTempHumiThreshold t = device().tempHumiThreshold;
    t.mask = mask;
    t.*field = v;
    return t;
}
_DeviceOutputThresholdSetting outlet(double _DeviceOutputThreshold::*field, double v)
{
    _DeviceOutputThreshold entry{kOutlet, kKeep, kKeep, kKeep, kKeep};
    entry.*field = v;
    _DeviceOutputThresholdSetting setting;
    setting.thresholds = {entry};
    return setting;
}

template <class T>
std::function<bool(double)> group(bool (*apply)(const T&), T (*make)(uint8_t, double T::*, double), uint8_t mask,
                                  double T::*field)
{
    return [=](double v) { return apply(make(mask, field, v)); };
}
std::function<bool(double)> outletGroup(double _DeviceOutputThreshold::*field)
{
    return [=](double v) { return OutletThresholdSettings::set(outlet(field, v)); };
}
std::function<bool(double)> unitOne(UnitThresholdSettings::Limit limit)
{
    return [=](double v) { return UnitThresholdSettings::setOne(limit, v); };
}
std::function<bool(double)> outletOne(OutletThresholdSettings::Limit limit)
{
    return [=](double v) { return OutletThresholdSettings::setOne(kOutlet, limit, v); };
}

typedef _DeviceInputThreshold In;
typedef _DeviceTempHumiThreshold Env;
typedef _DeviceOutputThreshold Out;
typedef UnitThresholdSettings U;
typedef OutletThresholdSettings O;
}

TEST(ThresholdSettingsTest, EachLimitSavedAloneReachesItsColumnAndTheRecordAndNothingElse)
{
    test::ServerBoard board;
    board.build();
    const Save saves[] = {
        {group(&U::setInput, &input, 0x01, &In::warnUpperVoltage), "inlet warn upper voltage", "voltage_max", false},
        {group(&U::setInput, &input, 0x01, &In::warnLowerVoltage), "inlet warn lower voltage", "voltage_min", false},
        {group(&U::setInput, &input, 0x02, &In::warnUpperCurrent), "inlet warn upper current", "current_max", false},
        {group(&U::setInput, &input, 0x02, &In::warnLowerCurrent), "inlet warn lower current", "current_min", false},
        // The inlet's cut-off pair is stored, but no interface takes it into the record.
        {group(&U::setInput, &input, 0x04, &In::offUpperCurrent), "", "outage_max", false},
        {group(&U::setInput, &input, 0x04, &In::offLowerCurrent), "", "outage_min", false},
        {group(&U::setTempHumi, &environment, 0x01, &Env::warnUpperTemp), "upper temperature", "temperature_max",
         false},
        {group(&U::setTempHumi, &environment, 0x01, &Env::warnLowerTemp), "lower temperature", "temperature_min",
         false},
        {group(&U::setTempHumi, &environment, 0x02, &Env::warnUpperHumi), "upper humidity", "humidity_max", false},
        {group(&U::setTempHumi, &environment, 0x02, &Env::warnLowerHumi), "lower humidity", "humidity_min", false},
        {outletGroup(&Out::warnUpperCurrent), "outlet 1 warn upper", "current_max", true},
        {outletGroup(&Out::warnLowerCurrent), "outlet 1 warn lower", "current_min", true},
        {outletGroup(&Out::offUpperCurrent), "outlet 1 off upper", "outage_max", true},
        {outletGroup(&Out::offLowerCurrent), "outlet 1 off lower", "outage_min", true},
        {unitOne(U::kVoltageUpper), "inlet warn upper voltage", "voltage_max", false},
        {unitOne(U::kVoltageLower), "inlet warn lower voltage", "voltage_min", false},
        {unitOne(U::kCurrentUpper), "inlet warn upper current", "current_max", false},
        {unitOne(U::kCurrentLower), "inlet warn lower current", "current_min", false},
        {unitOne(U::kTempUpper), "upper temperature", "temperature_max", false},
        {unitOne(U::kTempLower), "lower temperature", "temperature_min", false},
        {unitOne(U::kHumiUpper), "upper humidity", "humidity_max", false},
        {unitOne(U::kHumiLower), "lower humidity", "humidity_min", false},
        {outletOne(O::kWarnUpper), "outlet 1 warn upper", "current_max", true},
        {outletOne(O::kWarnLower), "outlet 1 warn lower", "current_min", true},
        {outletOne(O::kOffUpper), "outlet 1 off upper", "outage_max", true},
        {outletOne(O::kOffLower), "outlet 1 off lower", "outage_min", true},
    };
    double value = 100.25;  // a value no limit holds yet, new for every save
    for (const Save& s : saves)
    {
        value += 1.5;
        SCOPED_TRACE(s.column + (s.outletRow ? " of outlet 1 " : " of the unit ") + test::limitText(value));
        const test::RecordLimits expected = test::withLimit(test::recordLimits(), s.limit, value);
        ASSERT_TRUE(s.save(value));
        EXPECT_EQ(test::listed(expected), test::listed(test::recordLimits()));
        const std::string row = s.outletRow ? "port=" + std::to_string(kOutlet) : "port is null";
        EXPECT_EQ(test::limitText(value), test::queryText(test::boardDatabase("pdu.db"),
                                                          "select " + s.column + " from alarms where addr=0 and " + row));
    }
}
