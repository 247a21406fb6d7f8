#pragma once
#include "cascade/processor/CascadeCtrlQueryLogProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryLog requests (code 24) on a slave.
class CascadeCtrlQueryLogParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryLogProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
