#pragma once
#include "snmp/processor/SnmpOutletConfigProcessor.h"

namespace snmp
{
// Code 4: changes one item of an outlet of this unit through the shared
// settings operations (pdu.db first, then the record), values as sent.
class SnmpOutletConfigSetProcessor final : public SnmpOutletConfigProcessor
{
public:
    static const int kCode = 4;

    SnmpOutletConfigSetProcessor();

    int outletConfigSetName();
    int outletConfigSetOnDelay() { return setDelay(kOnDelay); }
    int outletConfigSetOffDelay() { return setDelay(kOffDelay); }
    int outletConfigSetRestartDelay() { return setDelay(kRestartDelay); }
    int outletConfigSetWarnCurrentLowerThreshold() { return setLimit(kWarnLower); }
    int outletConfigSetWarnCurrentUpperThreshold() { return setLimit(kWarnUpper); }
    int outletConfigSetFaultCurrentLowerThreshold() { return setLimit(kFaultLower); }
    int outletConfigSetFaultCurrentUpperThreshold() { return setLimit(kFaultUpper); }

private:
    int setDelay(int item);
    int setLimit(int item);
};
}
