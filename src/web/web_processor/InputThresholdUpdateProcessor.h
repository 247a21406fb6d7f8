#pragma once
#include "DeviceThresholds.h"
#include "web/web_processor/WebPacketBuilder.h"
#include "web/web_processor/WebSettingProcessor.h"

namespace web
{
// The web never changes this unit's switch-off pair (mask bit 2): only the
// warning pairs are saved and applied.
bool applyInputWarnings(const _DeviceInputThreshold& threshold);

// Code 5: the inlet's warning limits.
class InputThresholdUpdateProcessor final
    : public WebSettingProcessor<_DeviceInputThreshold, &applyInputWarnings,
                                 &WebPacketBuilder::buildSetInputThresholdRetPacket>
{
public:
    using WebSettingProcessor::WebSettingProcessor;
};
}
