#pragma once
#include "cascade/processor/CascadeCtrlSetPingRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetPing (code 27).
class CascadeCtrlSetPingRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetPingRetProcessor>
{
};
}
