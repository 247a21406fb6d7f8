#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryPingProcessor.h"

namespace MgrCtrl
{
// Code 83: watchdog settings of this unit's outlets.
class QueryPingExtProcessor final
    : public MgrCtrlQueryPingProcessor<uint64_t, &MgrCtrlPacketBuilder::buildQueryPingExtRetData>
{
};
}
