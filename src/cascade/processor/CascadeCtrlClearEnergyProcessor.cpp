#include "cascade/processor/CascadeCtrlClearEnergyProcessor.h"

#include "EnergyOperations.h"

namespace CascadeCtrl
{
bool CascadeCtrlClearEnergyProcessor::work() { return EnergyOperations(database_).clear(); }
}
