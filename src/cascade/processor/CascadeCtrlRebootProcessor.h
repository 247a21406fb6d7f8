#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Restarts the unit; the answer goes out while it goes down.
class CascadeCtrlRebootProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kReboot>
{
public:
    bool work() override;
};
}
