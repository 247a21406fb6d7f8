#include "snmp/processor/SnmpDeviceConfigProcessor.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace snmp
{
namespace
{
typedef SnmpDeviceConfigProcessor P;
const SnmpValue::Kind kText = SnmpValue::kText;
const SnmpValue::Kind kLimit = SnmpValue::kLimit;

const SnmpItemTable::Key kUnitKeys[] = {{"device_uid", kText, P::kUid, SnmpItemTable::kNone},
                                        {"device_name", kText, P::kName, P::kName}};
const SnmpItemTable::Key kInletKeys[] = {{"min_current", kLimit, P::kCurrentLower, P::kCurrentLower},
                                         {"max_current", kLimit, P::kCurrentUpper, P::kCurrentUpper},
                                         {"min_voltage", kLimit, P::kVoltageLower, P::kVoltageLower},
                                         {"max_voltage", kLimit, P::kVoltageUpper, P::kVoltageUpper}};
const SnmpItemTable::Key kSensorKeys[] = {{"min_temp", kLimit, P::kTempLower, P::kTempLower},
                                          {"max_temp", kLimit, P::kTempUpper, P::kTempUpper},
                                          {"min_hum", kLimit, P::kHumLower, P::kHumLower},
                                          {"max_hum", kLimit, P::kHumUpper, P::kHumUpper}};
const SnmpItemTable::Group kGroups[] = {{nullptr, kUnitKeys, 2},
                                        {"device_threshold", kInletKeys, 4},
                                        {"sensor_threshold", kSensorKeys, 4}};
const SnmpItemTable kTable(kGroups);
}

SnmpDeviceConfigProcessor::SnmpDeviceConfigProcessor(int code, bool set)
    : SnmpTableProcessor<10>(code, kTable, set, nullptr)
{
}

bool SnmpDeviceConfigProcessor::read(const rapidjson::Value& content)
{
    if (!chooseInGroups(content))
        return false;
    if (set_ && item_ == kCurrentUpper)
        LOG_INFO << "max current";
    return true;
}

double& SnmpDeviceConfigProcessor::limitField(int item)
{
    _Device& device = GlobalData::getDevice();
    double* const fields[] = {&device.inputThreshold.warnUpperCurrent, &device.inputThreshold.warnLowerCurrent,
                              &device.inputThreshold.warnUpperVoltage, &device.inputThreshold.warnLowerVoltage,
                              &device.tempHumiThreshold.warnUpperTemp, &device.tempHumiThreshold.warnLowerTemp,
                              &device.tempHumiThreshold.warnUpperHumi, &device.tempHumiThreshold.warnLowerHumi};
    return *fields[item - kCurrentUpper];
}
}
