#pragma once
#include "cascade/processor/CascadeCtrlQueryNameExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryNameExt requests (code 33) on a slave.
class CascadeCtrlQueryNameExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryNameExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
