#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// The unit's IP settings from pdu.db.
class CascadeCtrlQueryNetworkProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kQueryNetwork>
{
public:
    bool work() override;
};
}
