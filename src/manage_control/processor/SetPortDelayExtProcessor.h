#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetPortDelayProcessor.h"

namespace MgrCtrl
{
// Code 76: switching delays of this unit's outlets.
class SetPortDelayExtProcessor final
    : public MgrCtrlSetPortDelayProcessor<uint64_t, &MgrCtrlPacketBuilder::buildSetPortDelayExtRetData>
{
};
}
