#pragma once
#include "OutletThresholdSettings.h"
#include "web/web_processor/WebPacketBuilder.h"
#include "web/web_processor/WebSettingProcessor.h"

namespace web
{
// Code 4: the current limits of single outlets of this unit.
class OutputThresholdUpdateProcessor final
    : public WebSettingProcessor<_DeviceOutputThresholdSetting, &OutletThresholdSettings::set,
                                 &WebPacketBuilder::buildSetOutputThresholdRetPacket>
{
public:
    using WebSettingProcessor::WebSettingProcessor;
};
}
