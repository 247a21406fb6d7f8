#pragma once
#include "cascade/processor/CascadeCtrlClearEnergyProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads ClearEnergy requests (code 22) on a slave.
class CascadeCtrlClearEnergyParser final : public CascadeCtrlSlaveParser<CascadeCtrlClearEnergyProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
