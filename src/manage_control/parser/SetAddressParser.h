#pragma once
#include "cascade/processor/CascadeCtrlSetNewAddrRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetAddressProcessor.h"

namespace MgrCtrl
{
// Code 60: address, the new cascade address.
class SetAddressParser final : public MgrCtrlRequestParser<SetAddressProcessor, CascadeCtrl::CascadeCtrlSetNewAddrRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
