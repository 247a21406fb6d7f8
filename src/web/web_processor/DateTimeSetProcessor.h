#pragma once
#include "DeviceRecords.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
// Code 12: sets the clock to a local time, then the hardware clock, the
// tasks and the energy recording follow; a time the clock cannot hold
// changes nothing.
class DateTimeSetProcessor final
    : public WebResultProcessor<WebClockModules, _DeviceDateTime, &WebPacketBuilder::buildSetDateTimeRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
