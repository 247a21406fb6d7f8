#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
// Code 14: runs "reboot"; the answer goes out only if the process outlives it.
class RebootProcessor final
    : public WebResultProcessor<WebNoModule, WebNoFields, &WebPacketBuilder::buildRebootDeviceRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
