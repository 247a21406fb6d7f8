#pragma once
#include "cascade/processor/CascadeCtrlSetPingProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads SetPing requests (code 27) on a slave.
class CascadeCtrlSetPingParser final : public CascadeCtrlSlaveParser<CascadeCtrlSetPingProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
