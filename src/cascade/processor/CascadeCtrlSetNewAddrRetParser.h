#pragma once
#include "cascade/processor/CascadeCtrlSetNewAddrRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetNewAddr (code 26).
class CascadeCtrlSetNewAddrRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetNewAddrRetProcessor>
{
};
}
