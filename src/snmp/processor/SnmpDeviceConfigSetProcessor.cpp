#include "snmp/processor/SnmpDeviceConfigSetProcessor.h"

#include "NameSettings.h"
#include "UnitThresholdSettings.h"
#include "muduo/base/Logging.h"

namespace snmp
{
SnmpDeviceConfigSetProcessor::SnmpDeviceConfigSetProcessor() : SnmpDeviceConfigProcessor(kCode, true)
{
    typedef SnmpDeviceConfigSetProcessor T;
    bindHandlers<T>(this, {nullptr, &T::deviceConfigSetDeviceNameFun, &T::deviceConfigSetCurrentUpperThreshold,
                           &T::deviceConfigSetCurrentLowerThreshold, &T::deviceConfigSetVoltageUpperThreshold,
                           &T::deviceConfigSetVoltageLowerThreshold, &T::deviceConfigSetTempUpperThreshold,
                           &T::deviceConfigSetTempLowerThreshold, &T::deviceConfigSetHumUpperThreshold,
                           &T::deviceConfigSetHumLowerThreshold});
}

int SnmpDeviceConfigSetProcessor::deviceConfigSetDeviceNameFun()
{
    const int unitName = NameSettings::kUnitName;
    if (!NameSettings::save({{unitName, value_.text}}))
        return 1;
    LOG_INFO << "device name" << value_.text;
    return 0;
}

int SnmpDeviceConfigSetProcessor::setLimit(int item)
{
    static const char* const labels[] = {
        "device current upper threshold:", "device current lower threshold:", "device voltage upper threshold:",
        "device voltage lower threshold:", "device temp upper threshold:",    "device temp lower threshold:",
        "device hum upper threshold:",     "device hum lower threshold:"};
    const int limit = item - kCurrentUpper;
    if (!UnitThresholdSettings::setOne(static_cast<UnitThresholdSettings::Limit>(limit), value_.limit))
        return 1;
    LOG_INFO << labels[limit] << value_.limit;
    return 0;
}
}
