#pragma once
#include "cascade/processor/CascadeCtrlQueryOutputThresholdRelay.h"
#include "web/web_parser/WebAddressedParser.h"
#include "web/web_processor/OutputThresholdQueryProcessor.h"

namespace web
{
// Code 22: only "addr".
class OutputThresholdQueryParser final
    : public WebAddressedParser<OutputThresholdQueryParser, OutputThresholdQueryProcessor,
                              CascadeCtrl::CascadeCtrlQueryOutputThresholdRelay>
{
};
}
