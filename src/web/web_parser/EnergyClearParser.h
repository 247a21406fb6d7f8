#pragma once
#include "cascade/processor/CascadeCtrlClearEnergyRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/EnergyClearProcessor.h"

namespace web
{
// Code 13: no fields; always the whole unit.
class EnergyClearParser final
    : public WebCommandParser<EnergyClearParser, EnergyClearProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlClearEnergyRelay>>
{
public:
    using WebCommandParser::WebCommandParser;
};
}
