#pragma once
#include "cascade/processor/CascadeCtrlQueryEnergyExtRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryEnergyExtProcessor.h"

namespace MgrCtrl
{
// Code 80: address, type, 64-bit port mask, time zone, start year - 2000, month, day, hour, spans.
class QueryEnergyExtParser final
    : public MgrCtrlRequestParser<QueryEnergyExtProcessor, CascadeCtrl::CascadeCtrlQueryEnergyExtRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
