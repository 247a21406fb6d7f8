#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/parser/MgrCtrlSetOutputThresholdRequest.h"
#include "manage_control/processor/MgrCtrlSetOutputThresholdProcessor.h"

namespace MgrCtrl
{
// Code 49: current limits of this unit's outlets.
class SetOutputThresholdProcessor final
    : public MgrCtrlSetOutputThresholdProcessor<MgrCtrlSetOutputThresholdRequest,
                                                &MgrCtrlPacketBuilder::buildSetOutputThresholdRetData>
{
};
}
