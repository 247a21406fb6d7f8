#pragma once
#include "cascade/processor/CascadeCtrlClearEnergyRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/ClearEnergyProcessor.h"

namespace MgrCtrl
{
// Code 63: address alone.
class ClearEnergyParser final
    : public MgrCtrlRequestParser<ClearEnergyProcessor, CascadeCtrl::CascadeCtrlClearEnergyRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
