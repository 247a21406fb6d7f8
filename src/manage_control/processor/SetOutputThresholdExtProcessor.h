#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetOutputThresholdProcessor.h"

namespace MgrCtrl
{
// Code 75: current limits of this unit's outlets.
class SetOutputThresholdExtProcessor final
    : public MgrCtrlSetOutputThresholdProcessor<CascadeCtrl::CascadeCtrlSetOutputThresholdRequest<uint64_t>,
                                                &MgrCtrlPacketBuilder::buildSetOutputThresholdExtRetData>
{
};
}
