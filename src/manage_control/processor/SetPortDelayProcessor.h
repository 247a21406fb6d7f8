#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetPortDelayProcessor.h"

namespace MgrCtrl
{
// Code 55: switching delays of this unit's outlets.
class SetPortDelayProcessor final
    : public MgrCtrlSetPortDelayProcessor<uint32_t, &MgrCtrlPacketBuilder::buildSetPortDelayRetData>
{
};
}
