#pragma once
#include "cascade/processor/CascadeCtrlPingListRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's watchdog settings (code 43): web 38, manage-control 0x53.
class CascadeCtrlQueryPingExtRetProcessor final
    : public CascadeCtrlPingListRetProcessor<CascadeCtrlCommand::kQueryPingExt,
                                             &MgrCtrl::MgrCtrlPacketBuilder::buildQueryPingExtRetData>
{
};
}
