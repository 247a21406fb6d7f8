#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Stores the temperature and humidity limit pairs of the mask.
class CascadeCtrlSetTempHumThresholdProcessor final
    : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kSetTempHumThreshold>
{
public:
    bool work() override;
};
}
