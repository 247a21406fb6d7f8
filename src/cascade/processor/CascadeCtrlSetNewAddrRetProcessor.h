#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's new cascade address stored (code 26): manage-control 0x3C from its old address.
class CascadeCtrlSetNewAddrRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kSetNewAddr,
                                           nullptr,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildSetAddressRetData>
{
};
}
