#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetPingProcessor.h"

namespace MgrCtrl
{
// Code 67: ping watchdogs of this unit's outlets.
class SetPingProcessor final : public MgrCtrlSetPingProcessor<uint32_t, &MgrCtrlPacketBuilder::buildSetPingRetData>
{
public:
    using MgrCtrlSetPingProcessor::MgrCtrlSetPingProcessor;
};
}
