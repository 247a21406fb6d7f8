#pragma once
#include "cascade/processor/CascadeCtrlRebootRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/RebootProcessor.h"

namespace MgrCtrl
{
// Code 64: address alone.
class RebootParser final : public MgrCtrlRequestParser<RebootProcessor, CascadeCtrl::CascadeCtrlRebootRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
