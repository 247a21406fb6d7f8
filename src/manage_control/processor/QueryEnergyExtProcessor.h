#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlQueryEnergyProcessor.h"

namespace MgrCtrl
{
// Code 80: energy statistics, bit 63 the inlet.
class QueryEnergyExtProcessor final
    : public MgrCtrlQueryEnergyProcessor<uint64_t, &MgrCtrlPacketBuilder::buildQueryEnergyExtRetData>
{
public:
    using MgrCtrlQueryEnergyProcessor::MgrCtrlQueryEnergyProcessor;
};
}
