#pragma once
#include <map>
#include <memory>

#include "DeviceRecords.h"
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

class PingTaskContainer;

namespace web
{
// Code 17: stores the watchdog settings by outlet and applies those of this
// unit's outlets; a setting without its stored row fails them all.
class PingSetProcessor final
    : public WebResultProcessor<std::shared_ptr<PingTaskContainer>, std::map<int, PingSetting>,
                                &WebPacketBuilder::buildSetPingRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
