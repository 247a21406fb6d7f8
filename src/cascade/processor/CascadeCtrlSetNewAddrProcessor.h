#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Stores the unit's next cascade address (1 to 127); the chain uses it from
// the next start.
class CascadeCtrlSetNewAddrProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kSetNewAddr>
{
public:
    bool work() override;
};
}
