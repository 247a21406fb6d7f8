#pragma once
#include "cascade/processor/CascadeCtrlOperatePortProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads OperatePort requests (code 2) on a slave.
class CascadeCtrlOperatePortParser final : public CascadeCtrlSlaveParser<CascadeCtrlOperatePortProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
