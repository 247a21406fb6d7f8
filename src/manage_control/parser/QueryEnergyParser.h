#pragma once
#include "cascade/processor/CascadeCtrlQueryEnergyRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryEnergyProcessor.h"

namespace MgrCtrl
{
// Code 66: address, type, 32-bit port mask, time zone, start year - 2000, month, day, hour, spans.
class QueryEnergyParser final
    : public MgrCtrlRequestParser<QueryEnergyProcessor, CascadeCtrl::CascadeCtrlQueryEnergyRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
