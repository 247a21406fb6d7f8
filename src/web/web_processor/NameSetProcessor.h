#pragma once
#include "NameSettings.h"
#include "web/web_processor/WebPacketBuilder.h"
#include "web/web_processor/WebSettingProcessor.h"

namespace web
{
// Code 30: key -1 the unit's new name, keys from 0 outlet names.
class NameSetProcessor final
    : public WebSettingProcessor<std::map<int, std::string>, &NameSettings::save,
                                 &WebPacketBuilder::buildSetNameRetPacket>
{
public:
    using WebSettingProcessor::WebSettingProcessor;
};
}
