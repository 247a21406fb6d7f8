#include "web/web_processor/DevicePortDelayQueryProcessor.h"

#include "LocalOutlets.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool DevicePortDelayQueryProcessor::buildResponseString(int result, std::string& response)
{
    // As many entries as the table holds, whatever the identity claims.
    WebPacketBuilder::buildQueryPortDelayRetPacket(writer(), response, result, 0,
                                                   GlobalData::getDevice().portDelays.data(), LocalOutlets::count());
    return true;
}
}
