#pragma once
#include "cascade/processor/CascadeCtrlQueryPingExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryPingExt (code 43).
class CascadeCtrlQueryPingExtRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryPingExtRetProcessor>
{
};
}
