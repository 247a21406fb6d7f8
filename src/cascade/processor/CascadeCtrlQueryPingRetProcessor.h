#pragma once
#include "cascade/processor/CascadeCtrlPingListRetProcessor.h"

namespace CascadeCtrl
{
// A slave's watchdog settings (code 30): web 38, manage-control 0x47.
class CascadeCtrlQueryPingRetProcessor final
    : public CascadeCtrlPingListRetProcessor<CascadeCtrlCommand::kQueryPing,
                                             &MgrCtrl::MgrCtrlPacketBuilder::buildQueryPingRetData>
{
};
}
