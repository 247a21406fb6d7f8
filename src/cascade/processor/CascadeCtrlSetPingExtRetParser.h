#pragma once
#include "cascade/processor/CascadeCtrlSetPingExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to SetPingExt (code 42).
class CascadeCtrlSetPingExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlSetPingExtRetProcessor>
{
};
}
