#pragma once
#include "snmp/processor/SnmpOutletConfigProcessor.h"

namespace snmp
{
// Code 3: reads one item of an outlet of this unit from the device record.
class SnmpOutletConfigGetProcessor final : public SnmpOutletConfigProcessor
{
public:
    static const int kCode = 3;

    SnmpOutletConfigGetProcessor();

    int outletConfigGetName();
    int outletConfigGetOnDelay() { return getDelay(kOnDelay); }
    int outletConfigGetOffDelay() { return getDelay(kOffDelay); }
    int outletConfigGetRestartDelay() { return getDelay(kRestartDelay); }
    int outletConfigGetWarnCurrentLowerThreshold() { return getLimit(kWarnLower); }
    int outletConfigGetWarnCurrentUpperThreshold() { return getLimit(kWarnUpper); }
    int outletConfigGetFaultCurrentLowerThreshold() { return getLimit(kFaultLower); }
    int outletConfigGetFaultCurrentUpperThreshold() { return getLimit(kFaultUpper); }

private:
    int getDelay(int item);
    int getLimit(int item);
};
}
