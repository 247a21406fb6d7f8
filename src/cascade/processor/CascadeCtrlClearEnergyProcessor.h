#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

class EnergyDatabase;

namespace CascadeCtrl
{
// Zeroes the energy counters of every outlet and the inlet and drops the
// statistics.
class CascadeCtrlClearEnergyProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kClearEnergy>
{
public:
    explicit CascadeCtrlClearEnergyProcessor(EnergyDatabase& database) : database_(database) {}

    bool work() override;

private:
    EnergyDatabase& database_;
};
}
