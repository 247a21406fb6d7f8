#pragma once
#include "cascade/processor/CascadeCtrlOperatePortExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/OperatePortExtProcessor.h"

namespace MgrCtrl
{
// Code 73: address, 64-bit outlet mask, action.
class OperatePortExtParser final
    : public MgrCtrlRequestParser<OperatePortExtProcessor, CascadeCtrl::CascadeCtrlOperatePortExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
