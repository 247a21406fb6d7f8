#pragma once
#include "cascade/processor/CascadeCtrlSetNameExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetNameExt (code 34).
class CascadeCtrlSetNameExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetNameExtRetProcessor>
{
};
}
