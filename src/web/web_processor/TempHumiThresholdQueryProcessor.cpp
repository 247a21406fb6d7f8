#include "web/web_processor/TempHumiThresholdQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool TempHumiThresholdQueryProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildQueryTempHumiThresholdRetPacket(writer(), response, result, 0,
                                                           GlobalData::getDevice().tempHumiThreshold);
    return true;
}
}
