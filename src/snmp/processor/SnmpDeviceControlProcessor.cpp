#include "snmp/processor/SnmpDeviceControlProcessor.h"

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"
#include "snmp/parser/SnmpFields.h"

namespace snmp
{
bool SnmpDeviceControlProcessor::read(const rapidjson::Value& content)
{
    int reboot = 0;
    if (!SnmpFields::readInt(content, "reboot", reboot))
        return false;
    LOG_INFO << " reboot:" << reboot;
    reboot_ = reboot != 0;
    return true;
}

int SnmpDeviceControlProcessor::work()
{
    // Waits for the command; the unit goes down with the process anyway.
    if (reboot_)
        board::runCommand("reboot");
    return 0;
}

bool SnmpDeviceControlProcessor::buildResponseString(int result, std::string& out)
{
    beginResponse(kCode, result);
    return endResponse(out);
}
}
