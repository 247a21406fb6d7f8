#include "snmp/processor/SnmpDeviceConfigGetProcessor.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace snmp
{
SnmpDeviceConfigGetProcessor::SnmpDeviceConfigGetProcessor() : SnmpDeviceConfigProcessor(kCode, false)
{
    typedef SnmpDeviceConfigGetProcessor T;
    bindHandlers<T>(this, {&T::deviceConfigGetDeviceUidFun, &T::deviceConfigGetDeviceNameFun,
                           &T::deviceConfigGetCurrentUpperThreshold, &T::deviceConfigGetCurrentLowerThreshold,
                           &T::deviceConfigGetVoltageUpperThreshold, &T::deviceConfigGetVoltageLowerThreshold,
                           &T::deviceConfigGetTempUpperThreshold, &T::deviceConfigGetTempLowerThreshold,
                           &T::deviceConfigGetHumUpperThreshold, &T::deviceConfigGetHumLowerThreshold});
}

int SnmpDeviceConfigGetProcessor::deviceConfigGetDeviceUidFun()
{
    char uid[17];  // the loader writes 16 characters and no terminator
    if (!GlobalData::loadUidFromDb(uid))
        return 1;
    uid[16] = '\0';
    value_.text = uid;
    LOG_INFO << "uid:" << value_.text;
    return 0;
}

int SnmpDeviceConfigGetProcessor::deviceConfigGetDeviceNameFun()
{
    value_.text = GlobalData::getDevice().deviceName;
    LOG_INFO << "device name" << value_.text;
    return 0;
}

int SnmpDeviceConfigGetProcessor::getLimit(int item)
{
    value_.limit = limitField(item);
    return 0;
}
}
