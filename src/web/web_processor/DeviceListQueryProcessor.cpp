#include "web/web_processor/DeviceListQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool DeviceListQueryProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildQueryDeviceListRetPacket(writer(), response, result, GlobalData::getDevice());
    return true;
}
}
