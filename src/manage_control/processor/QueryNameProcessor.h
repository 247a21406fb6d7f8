#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryNameProcessor.h"

namespace MgrCtrl
{
// Code 70: the names of this unit or a slave.
class QueryNameProcessor final
    : public MgrCtrlQueryNameProcessor<uint32_t, &MgrCtrlPacketBuilder::buildQueryNameRetData>
{
};
}
