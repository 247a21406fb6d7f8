#pragma once
#include "cascade/processor/CascadeCtrlQueryPingRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryPing (code 30).
class CascadeCtrlQueryPingRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryPingRetProcessor>
{
};
}
