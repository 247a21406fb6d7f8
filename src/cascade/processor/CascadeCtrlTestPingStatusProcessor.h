#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Whether the outlet's latest ping test got its echo.
class CascadeCtrlTestPingStatusProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kTestPingStatus>
{
public:
    bool work() override;
};
}
