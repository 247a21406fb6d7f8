#pragma once
#include "web/web_processor/WebCommandProcessor.h"
#include "web/web_processor/WebPacketBuilder.h"

class EnergyDatabase;

namespace web
{
// Code 13: every outlet's and the inlet's energy starts again from 0; the
// hourly statistics are dropped.
class EnergyClearProcessor final
    : public WebResultProcessor<EnergyDatabase*, WebNoFields, &WebPacketBuilder::buildClearEnergyRetPacket>
{
public:
    using WebResultProcessor::WebResultProcessor;

    int work() override;
};
}
