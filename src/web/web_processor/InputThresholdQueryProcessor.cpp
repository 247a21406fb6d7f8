#include "web/web_processor/InputThresholdQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/RecordedSlave.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
int InputThresholdQueryProcessor::work()
{
    slave_ = fields_ == 0 ? nullptr : RecordedSlave::find(fields_);
    return fields_ == 0 || slave_ ? 0 : -1;
}

bool InputThresholdQueryProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildQueryInputThresholdRetPacket(
        writer(), response, result, fields_, slave_ ? slave_->inputThreshold : GlobalData::getDevice().inputThreshold);
    return true;
}
}
