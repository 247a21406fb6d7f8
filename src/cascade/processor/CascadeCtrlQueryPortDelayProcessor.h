#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// The delays of every outlet the unit counts; outlets beyond the record's
// table answer 0.
class CascadeCtrlQueryPortDelayProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryPortDelay>
{
public:
    bool work() override;
};
}
