#pragma once
#include "cascade/processor/CascadeCtrlQueryNetworkRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryNetwork (code 5).
class CascadeCtrlQueryNetworkRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryNetworkRetProcessor>
{
};
}
