#pragma once
#include "cascade/processor/CascadeCtrlClearEnergyRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to ClearEnergy (code 22).
class CascadeCtrlClearEnergyRetParser final : public CascadeCtrlRetParser<CascadeCtrlClearEnergyRetProcessor>
{
};
}
