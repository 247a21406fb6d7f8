#pragma once
#include "cascade/processor/CascadeCtrlTestPingProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads TestPing requests (code 28) on a slave.
class CascadeCtrlTestPingParser final : public CascadeCtrlSlaveParser<CascadeCtrlTestPingProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
