#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryEnergyProcessor.h"

namespace MgrCtrl
{
// Code 66: energy statistics, bit 31 the inlet.
class QueryEnergyProcessor final
    : public MgrCtrlQueryEnergyProcessor<uint32_t, &MgrCtrlPacketBuilder::buildQueryEnergyRetData>
{
public:
    using MgrCtrlQueryEnergyProcessor::MgrCtrlQueryEnergyProcessor;
};
}
