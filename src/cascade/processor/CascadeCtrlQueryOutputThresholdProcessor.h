#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// The current limits of every outlet the unit counts; outlets beyond the
// record's table answer as unset (0xFFFF).
class CascadeCtrlQueryOutputThresholdProcessor final
    : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryOutputThreshold>
{
public:
    bool work() override;
};
}
