#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetNameProcessor.h"

namespace MgrCtrl
{
// Code 43: changes this unit's names.
class SetNameProcessor final : public MgrCtrlSetNameProcessor<uint32_t, &MgrCtrlPacketBuilder::buildSetNameRetData>
{
};
}
