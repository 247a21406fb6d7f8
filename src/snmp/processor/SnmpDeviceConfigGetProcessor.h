#pragma once
#include "snmp/processor/SnmpDeviceConfigProcessor.h"

namespace snmp
{
// Code 1: reads one item; the identity string from pdu.db at each request,
// the rest from the device record.
class SnmpDeviceConfigGetProcessor final : public SnmpDeviceConfigProcessor
{
public:
    static const int kCode = 1;

    SnmpDeviceConfigGetProcessor();

    int deviceConfigGetDeviceUidFun();
    int deviceConfigGetDeviceNameFun();
    int deviceConfigGetCurrentUpperThreshold() { return getLimit(kCurrentUpper); }
    int deviceConfigGetCurrentLowerThreshold() { return getLimit(kCurrentLower); }
    int deviceConfigGetVoltageUpperThreshold() { return getLimit(kVoltageUpper); }
    int deviceConfigGetVoltageLowerThreshold() { return getLimit(kVoltageLower); }
    int deviceConfigGetTempUpperThreshold() { return getLimit(kTempUpper); }
    int deviceConfigGetTempLowerThreshold() { return getLimit(kTempLower); }
    int deviceConfigGetHumUpperThreshold() { return getLimit(kHumUpper); }
    int deviceConfigGetHumLowerThreshold() { return getLimit(kHumLower); }

private:
    int getLimit(int item);
};
}
