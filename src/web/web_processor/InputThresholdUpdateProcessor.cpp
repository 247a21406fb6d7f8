#include "web/web_processor/InputThresholdUpdateProcessor.h"

#include "UnitThresholdSettings.h"

namespace web
{
bool applyInputWarnings(const _DeviceInputThreshold& threshold)
{
    _DeviceInputThreshold warnings = threshold;
    warnings.mask = static_cast<uint8_t>(warnings.mask & ~0x04);
    return UnitThresholdSettings::setInput(warnings);
}
}
