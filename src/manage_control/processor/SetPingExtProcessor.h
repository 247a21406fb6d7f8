#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlSetPingProcessor.h"

namespace MgrCtrl
{
// Code 81: ping watchdogs of this unit's outlets.
class SetPingExtProcessor final
    : public MgrCtrlSetPingProcessor<uint64_t, &MgrCtrlPacketBuilder::buildSetPingExtRetData>
{
public:
    using MgrCtrlSetPingProcessor::MgrCtrlSetPingProcessor;
};
}
