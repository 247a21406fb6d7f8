#pragma once
#include "cascade/processor/CascadeCtrlQueryNetworkProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryNetwork requests (code 5) on a slave.
class CascadeCtrlQueryNetworkParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryNetworkProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
