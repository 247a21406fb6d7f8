#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetNameProcessor.h"

namespace MgrCtrl
{
// Code 72: changes this unit's names.
class SetNameExtProcessor final
    : public MgrCtrlSetNameProcessor<uint64_t, &MgrCtrlPacketBuilder::buildSetNameExtRetData>
{
};
}
