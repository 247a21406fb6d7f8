#pragma once
#include "cascade/processor/CascadeCtrlSetNetworkRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetNetwork (code 6).
class CascadeCtrlSetNetworkRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetNetworkRetProcessor>
{
};
}
