#pragma once
#include "cascade/processor/CascadeCtrlSlaveCommand.h"

namespace CascadeCtrl
{
// Stores the first interface's IP settings in pdu.db (used from the next
// start); refused without interface 0.
class CascadeCtrlSetNetworkProcessor final : public CascadeCtrlSlaveCommand<CascadeCtrlCommand::kSetNetwork>
{
public:
    bool work() override;
};
}
