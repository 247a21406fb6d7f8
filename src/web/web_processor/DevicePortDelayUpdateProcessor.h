#pragma once
#include "DelaySettings.h"
#include "web/web_processor/WebPacketBuilder.h"
#include "web/web_processor/WebSettingProcessor.h"

namespace web
{
// Code 11: the switching delays of outlets of this unit; -1 keeps a delay.
class DevicePortDelayUpdateProcessor final
    : public WebSettingProcessor<std::vector<_DevicePortDelay>, &DelaySettings::set,
                                 &WebPacketBuilder::buildSetPortDelayRetPacket>
{
public:
    using WebSettingProcessor::WebSettingProcessor;
};
}
