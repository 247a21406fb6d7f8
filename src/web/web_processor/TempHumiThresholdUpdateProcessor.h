#pragma once
#include "UnitThresholdSettings.h"
#include "web/web_processor/WebPacketBuilder.h"
#include "web/web_processor/WebSettingProcessor.h"

namespace web
{
// Code 15: the temperature and humidity pairs the mask selects.
class TempHumiThresholdUpdateProcessor final
    : public WebSettingProcessor<_DeviceTempHumiThreshold, &UnitThresholdSettings::setTempHumi,
                                 &WebPacketBuilder::buildSetTempHumiThresholdRetPacket>
{
public:
    using WebSettingProcessor::WebSettingProcessor;
};
}
