#include "web/web_processor/PortOperationProcessor.h"

#include "OutletAction.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
PortOperationProcessor::PortOperationProcessor(const std::shared_ptr<PowerModuleContainer>& modules)
    : modules_(modules)
{
}

int PortOperationProcessor::work()
{
    if (ports.empty())
        return 0;
    if (!modules_)
    {
        LOG_WARN << "no power modules: outlets not switched";
        return -1;
    }
    const OutletAction rule(*modules_);
    for (int port : ports)
        rule.apply(port, action);
    // The module's acknowledgement comes later; the request was accepted.
    return 0;
}

bool PortOperationProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildOperatePortRetPacket(writer(), response, result);
    return true;
}
}
