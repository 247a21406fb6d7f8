#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Event-log rows of one type (0 every type) between two dates; a log that
// cannot be read answers an empty list.
class CascadeCtrlQueryLogProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryLog>
{
public:
    bool work() override;
};
}
