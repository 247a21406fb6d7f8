#include "web/web_processor/OutputThresholdQueryProcessor.h"

#include "LocalOutlets.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool OutputThresholdQueryProcessor::buildResponseString(int result, std::string& response)
{
    // As many entries as the table holds, whatever the identity claims.
    WebPacketBuilder::buildQueryOutputThresholdRetPacket(writer(), response, result, 0,
                                                         GlobalData::getDevice().outputThresholds.data(),
                                                         LocalOutlets::count());
    return true;
}
}
