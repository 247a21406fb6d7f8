#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryPingProcessor.h"

namespace MgrCtrl
{
// Code 71: watchdog settings of this unit's outlets.
class QueryPingProcessor final
    : public MgrCtrlQueryPingProcessor<uint32_t, &MgrCtrlPacketBuilder::buildQueryPingRetData>
{
};
}
