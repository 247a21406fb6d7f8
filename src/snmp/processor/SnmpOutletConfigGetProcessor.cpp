#include "snmp/processor/SnmpOutletConfigGetProcessor.h"

#include "LocalOutlets.h"
#include "muduo/base/Logging.h"

namespace snmp
{
namespace
{
const char* const kLabels[] = {"outlet name:",
                               "outlet on delay:",
                               "outlet off delay:",
                               "outlet restart delay:",
                               "outlet warn current lower:",
                               "outlet warn current upper:",
                               "outlet fault current lower:",
                               "outlet fault current upper:"};
}

SnmpOutletConfigGetProcessor::SnmpOutletConfigGetProcessor() : SnmpOutletConfigProcessor(kCode, false)
{
    typedef SnmpOutletConfigGetProcessor T;
    bindHandlers<T>(this, {&T::outletConfigGetName, &T::outletConfigGetOnDelay, &T::outletConfigGetOffDelay,
                           &T::outletConfigGetRestartDelay, &T::outletConfigGetWarnCurrentLowerThreshold,
                           &T::outletConfigGetWarnCurrentUpperThreshold,
                           &T::outletConfigGetFaultCurrentLowerThreshold,
                           &T::outletConfigGetFaultCurrentUpperThreshold});
}

int SnmpOutletConfigGetProcessor::outletConfigGetName()
{
    if (!LocalOutlets::contains(port()))
        return 1;
    value_.text = GlobalData::getDevice().portNames[static_cast<size_t>(port())];
    LOG_INFO << kLabels[kName] << value_.text;
    return 0;
}

int SnmpOutletConfigGetProcessor::getDelay(int item)
{
    if (!LocalOutlets::contains(port()))
        return 1;
    value_.number = delayField(port(), item);
    LOG_INFO << kLabels[item] << value_.number;
    return 0;
}

int SnmpOutletConfigGetProcessor::getLimit(int item)
{
    if (!LocalOutlets::contains(port()))
        return 1;
    value_.limit = limitField(port(), item);
    LOG_INFO << kLabels[item] << value_.limit;
    return 0;
}
}
