#include "snmp/processor/SnmpOutletConfigSetProcessor.h"

#include "DelaySettings.h"
#include "LocalOutlets.h"
#include "NameSettings.h"
#include "OutletThresholdSettings.h"
#include "muduo/base/Logging.h"

namespace snmp
{
SnmpOutletConfigSetProcessor::SnmpOutletConfigSetProcessor() : SnmpOutletConfigProcessor(kCode, true)
{
    typedef SnmpOutletConfigSetProcessor T;
    bindHandlers<T>(this, {&T::outletConfigSetName, &T::outletConfigSetOnDelay, &T::outletConfigSetOffDelay,
                           &T::outletConfigSetRestartDelay, &T::outletConfigSetWarnCurrentLowerThreshold,
                           &T::outletConfigSetWarnCurrentUpperThreshold,
                           &T::outletConfigSetFaultCurrentLowerThreshold,
                           &T::outletConfigSetFaultCurrentUpperThreshold});
}

// Each operation refuses an outlet this unit lacks before it saves anything;
// the name's is checked here, as the operation takes -1 for the unit's name.
int SnmpOutletConfigSetProcessor::outletConfigSetName()
{
    if (!LocalOutlets::contains(port()) || !NameSettings::save({{port(), value_.text}}))
        return 1;
    LOG_INFO << "outlet:" << port() << ",name:" << value_.text;
    return 0;
}

int SnmpOutletConfigSetProcessor::setDelay(int item)
{
    static const char* const labels[] = {"on delay", "off delay", "restart delay"};
    static const DelaySettings::Delay delays[] = {DelaySettings::kOn, DelaySettings::kOff, DelaySettings::kRestart};
    const int i = item - kOnDelay;
    if (!DelaySettings::setOne(port(), delays[i], value_.number))
        return 1;
    LOG_INFO << labels[i] << value_.number;
    return 0;
}

int SnmpOutletConfigSetProcessor::setLimit(int item)
{
    static const char* const labels[] = {"warn current lower threshold", "warn current upper threshold",
                                         "fault current lower threshold", "fault current upper threshold"};
    static const OutletThresholdSettings::Limit limits[] = {
        OutletThresholdSettings::kWarnLower, OutletThresholdSettings::kWarnUpper, OutletThresholdSettings::kOffLower,
        OutletThresholdSettings::kOffUpper};
    const int i = item - kWarnLower;
    if (!OutletThresholdSettings::setOne(port(), limits[i], value_.limit))
        return 1;
    LOG_INFO << labels[i] << value_.limit;
    return 0;
}
}
