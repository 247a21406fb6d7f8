#pragma once
#include "cascade/processor/CascadeCtrlQueryEnergyExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryEnergyExt (code 41).
class CascadeCtrlQueryEnergyExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryEnergyExtRetProcessor>
{
};
}
