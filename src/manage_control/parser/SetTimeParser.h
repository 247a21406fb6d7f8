#pragma once
#include "cascade/processor/CascadeCtrlSetTimeRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/SetTimeProcessor.h"

namespace MgrCtrl
{
// Code 62: address, year - 2000, month, day, hour, minute, second.
class SetTimeParser final : public MgrCtrlRequestParser<SetTimeProcessor, CascadeCtrl::CascadeCtrlSetTimeRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
