#pragma once
#include "EnergyOperations.h"
#include "cascade/parser/CascadeCtrlEmptyRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 63: zeroes this unit's energy counters and drops its statistics.
class ClearEnergyProcessor final : public MgrCtrlResultProcessor<CascadeCtrl::CascadeCtrlEmptyRequest,
                                                                 &MgrCtrlPacketBuilder::buildClearEnergyRetData>
{
public:
    explicit ClearEnergyProcessor(EnergyDatabase& database) : database_(database) {}

    int work() override { return EnergyOperations(database_).clear() ? 0 : 1; }

private:
    EnergyDatabase& database_;
};
}
