#pragma once
#include "cascade/processor/CascadeCtrlQueryEnergyProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryEnergy requests (code 25) on a slave.
class CascadeCtrlQueryEnergyParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryEnergyProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
