#pragma once
#include "cascade/processor/CascadeCtrlQueryOutputThresholdRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/OutputThresholdQueryProcessor.h"

namespace web
{
// Code 22: only "addr".
class OutputThresholdQueryParser final
    : public WebCommandParser<OutputThresholdQueryParser, OutputThresholdQueryProcessor,
                              WebQuietSlaveRelays<CascadeCtrl::CascadeCtrlQueryOutputThresholdRelay>>
{
public:
    using WebCommandParser::WebCommandParser;
};
}
