#pragma once
#include "cascade/processor/CascadeCtrlSetNameRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetName (code 4).
class CascadeCtrlSetNameRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetNameRetProcessor>
{
};
}
