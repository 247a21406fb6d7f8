#pragma once
#include "cascade/processor/CascadeCtrlSetNameExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetNameExtProcessor.h"

namespace MgrCtrl
{
// Code 72: address, 64-bit mask, one 16-byte name per set bit.
class SetNameExtParser final : public MgrCtrlRequestParser<SetNameExtProcessor, CascadeCtrl::CascadeCtrlSetNameExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
