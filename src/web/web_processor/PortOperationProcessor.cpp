#include "web/web_processor/PortOperationProcessor.h"

#include "OutletAction.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
int PortOperationProcessor::work()
{
    if (fields_.ports.empty())
        return 0;
    if (!module_)
    {
        LOG_WARN << "no power modules: outlets not switched";
        return -1;
    }
    const OutletAction rule(*module_);
    for (int port : fields_.ports)
        rule.apply(port, fields_.action);
    // The module's acknowledgement comes later; the request was accepted.
    return 0;
}

bool PortOperationProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildOperatePortRetPacket(writer(), response, result);
    return true;
}
}
