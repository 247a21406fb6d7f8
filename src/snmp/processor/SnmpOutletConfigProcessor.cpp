#include "snmp/processor/SnmpOutletConfigProcessor.h"

#include "GlobalData.h"
#include "snmp/parser/SnmpFields.h"

namespace snmp
{
namespace
{
typedef SnmpOutletConfigProcessor P;
const SnmpValue::Kind kNumber = SnmpValue::kNumber;
const SnmpValue::Kind kLimit = SnmpValue::kLimit;

const size_t kNameGroup = 0;
const SnmpItemTable::Key kNameKeys[] = {{"name", SnmpValue::kText, P::kName, P::kName}};
const SnmpItemTable::Key kDelayKeys[] = {{"on", kNumber, P::kOnDelay, P::kOnDelay},
                                         {"off", kNumber, P::kOffDelay, P::kOffDelay},
                                         {"restart", kNumber, P::kRestartDelay, P::kRestartDelay}};
const SnmpItemTable::Key kLimitKeys[] = {{"min_warn_current", kLimit, P::kWarnLower, P::kWarnLower},
                                         {"max_warn_current", kLimit, P::kWarnUpper, P::kWarnUpper},
                                         {"min_fault_current", kLimit, P::kFaultLower, P::kFaultLower},
                                         {"max_fault_current", kLimit, P::kFaultUpper, P::kFaultUpper}};
const SnmpItemTable::Group kGroups[] = {
    {"outlet_name", kNameKeys, 1}, {"outlet_delay", kDelayKeys, 3}, {"outlet_threshold", kLimitKeys, 4}};
const SnmpItemTable kTable(kGroups);
}

SnmpOutletConfigProcessor::SnmpOutletConfigProcessor(int code, bool set)
    : SnmpTableProcessor<8>(code, kTable, set, "port")
{
}

bool SnmpOutletConfigProcessor::read(const rapidjson::Value& content)
{
    for (size_t g = 0; g < kTable.groupCount(); ++g)
    {
        const rapidjson::Value* group = SnmpFields::findObject(content, kTable.group(g).name);
        if (!group)
            continue;
        if (!SnmpFields::readInt(*group, "port", lead_))
            return false;
        if (choose(*group, g))
            return true;
        // A name group without its name ends the search; the others let
        // the next group be tried.
        if (g == kNameGroup)
            return false;
    }
    return false;
}

int32_t& SnmpOutletConfigProcessor::delayField(int port, int item)
{
    _DevicePortDelay& delay = GlobalData::getDevice().portDelays[static_cast<size_t>(port)];
    int32_t* const fields[] = {&delay.onDelay, &delay.offDelay, &delay.restartDelay};
    return *fields[item - kOnDelay];
}

double& SnmpOutletConfigProcessor::limitField(int port, int item)
{
    _DeviceOutputThreshold& limits = GlobalData::getDevice().outputThresholds[static_cast<size_t>(port)];
    double* const fields[] = {&limits.warnLowerCurrent, &limits.warnUpperCurrent, &limits.offLowerCurrent,
                              &limits.offUpperCurrent};
    return *fields[item - kWarnLower];
}
}
