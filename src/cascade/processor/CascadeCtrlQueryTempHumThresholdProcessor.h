#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// The temperature and humidity limits the mask asks for.
class CascadeCtrlQueryTempHumThresholdProcessor final
    : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryTempHumThreshold>
{
public:
    bool work() override;
};
}
