#pragma once
#include "cascade/processor/CascadeCtrlOperatePortRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/OperatePortProcessor.h"

namespace MgrCtrl
{
// Code 46: address, 32-bit outlet mask, action.
class OperatePortParser final
    : public MgrCtrlRequestParser<OperatePortProcessor, CascadeCtrl::CascadeCtrlOperatePortRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
