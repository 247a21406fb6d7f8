#include "snmp/processor/SnmpOutletControlProcessor.h"

#include "OutletAction.h"
#include "muduo/base/Logging.h"
#include "snmp/parser/SnmpFields.h"

namespace snmp
{
SnmpOutletControlProcessor::SnmpOutletControlProcessor(const std::shared_ptr<PowerModuleContainer>& modules)
    : modules_(modules)
{
}

bool SnmpOutletControlProcessor::read(const rapidjson::Value& content)
{
    const rapidjson::Value* control = SnmpFields::findObject(content, "outlet_control");
    return control && SnmpFields::readInt(*control, "port", port_) && SnmpFields::readInt(*control, "on_off", action_);
}

int SnmpOutletControlProcessor::work()
{
    static const char* const kActions[] = {"action off,port:", "action on,port:", "action restart,port:"};
    if (!modules_ || !LocalOutlets::contains(port_))
        return 1;
    if (action_ >= 0 && action_ <= 2)
        LOG_INFO << kActions[action_] << port_;
    return OutletAction(*modules_, OutletAction::kOthersIgnored).apply(port_, action_) ? 0 : 1;
}

bool SnmpOutletControlProcessor::buildResponseString(int result, std::string& out)
{
    beginResponse(kCode, result);
    return endResponse(out);
}
}
