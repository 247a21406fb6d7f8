#pragma once
#include "cascade/processor/CascadeCtrlSetNameRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetNameProcessor.h"

namespace MgrCtrl
{
// Code 43: address, 32-bit mask, one 16-byte name per set bit.
class SetNameParser final : public MgrCtrlRequestParser<SetNameProcessor, CascadeCtrl::CascadeCtrlSetNameRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
