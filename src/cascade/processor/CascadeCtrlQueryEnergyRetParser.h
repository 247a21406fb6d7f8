#pragma once
#include "cascade/processor/CascadeCtrlQueryEnergyRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryEnergy (code 25).
class CascadeCtrlQueryEnergyRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryEnergyRetProcessor>
{
};
}
