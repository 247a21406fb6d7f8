#pragma once
#include "cascade/processor/CascadeCtrlOperatePortExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads OperatePortExt requests (code 32) on a slave.
class CascadeCtrlOperatePortExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlOperatePortExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
