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
    // The module's acknowledgement comes later; the request was accepted,
    // or refused whole with nothing switched.
    return OutletAction(*module_).applyList(fields_.ports, fields_.action) ? 0 : -1;
}

bool PortOperationProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildOperatePortRetPacket(writer(), response, result);
    return true;
}
}
