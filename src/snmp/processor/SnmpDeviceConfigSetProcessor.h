#pragma once
#include "snmp/processor/SnmpDeviceConfigProcessor.h"

namespace snmp
{
// Code 2: changes this unit's name or one warning limit, pdu.db first and
// then the record; the identity string cannot be changed (slot 0 stays
// empty).
class SnmpDeviceConfigSetProcessor final : public SnmpDeviceConfigProcessor
{
public:
    static const int kCode = 2;

    SnmpDeviceConfigSetProcessor();

    int deviceConfigSetDeviceNameFun();
    int deviceConfigSetCurrentUpperThreshold() { return setLimit(kCurrentUpper); }
    int deviceConfigSetCurrentLowerThreshold() { return setLimit(kCurrentLower); }
    int deviceConfigSetVoltageUpperThreshold() { return setLimit(kVoltageUpper); }
    int deviceConfigSetVoltageLowerThreshold() { return setLimit(kVoltageLower); }
    int deviceConfigSetTempUpperThreshold() { return setLimit(kTempUpper); }
    int deviceConfigSetTempLowerThreshold() { return setLimit(kTempLower); }
    int deviceConfigSetHumUpperThreshold() { return setLimit(kHumUpper); }
    int deviceConfigSetHumLowerThreshold() { return setLimit(kHumLower); }

private:
    int setLimit(int item);
};
}
