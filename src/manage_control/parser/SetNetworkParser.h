#pragma once
#include "cascade/processor/CascadeCtrlSetNetworkRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetNetworkProcessor.h"

namespace MgrCtrl
{
// Code 45: address, interface mask, one 40-byte record per set bit 0 to 7, manage-control port.
class SetNetworkParser final : public MgrCtrlRequestParser<SetNetworkProcessor, CascadeCtrl::CascadeCtrlSetNetworkRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
