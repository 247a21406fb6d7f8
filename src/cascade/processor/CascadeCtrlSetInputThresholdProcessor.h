#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Stores the inlet limit pairs of the mask; the answer echoes the warning
// pairs.
class CascadeCtrlSetInputThresholdProcessor final
    : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kSetInputThreshold>
{
public:
    bool work() override;
};
}
