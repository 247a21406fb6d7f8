#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryNameProcessor.h"

namespace MgrCtrl
{
// Code 82: the names of this unit or a slave.
class QueryNameExtProcessor final
    : public MgrCtrlQueryNameProcessor<uint64_t, &MgrCtrlPacketBuilder::buildQueryNameExtRetData>
{
};
}
