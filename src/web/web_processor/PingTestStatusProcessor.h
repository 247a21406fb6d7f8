#pragma once
#include "PingOperations.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
// Code 21: 0 once the outlet's last ping test got its echo, else -1 (also
// for an outlet this unit lacks).
class PingTestStatusProcessor final
    : public WebResultProcessor<WebNoModule, int, &WebPacketBuilder::buildTestPingStatusRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override { return PingOperations::testAnswered(fields_) ? 0 : -1; }
};
}
