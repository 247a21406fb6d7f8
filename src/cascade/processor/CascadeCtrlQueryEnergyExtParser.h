#pragma once
#include "cascade/processor/CascadeCtrlQueryEnergyExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryEnergyExt requests (code 41) on a slave.
class CascadeCtrlQueryEnergyExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryEnergyExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
