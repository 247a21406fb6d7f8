#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// The unit's local date and time.
class CascadeCtrlQueryTimeProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryTime>
{
public:
    bool work() override;
};
}
