#pragma once
#include "cascade/processor/CascadeCtrlQueryTimeProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryTime requests (code 20) on a slave.
class CascadeCtrlQueryTimeParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryTimeProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
