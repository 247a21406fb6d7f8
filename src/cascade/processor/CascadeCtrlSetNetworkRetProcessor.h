#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave's IP settings stored (code 6): manage-control 0x2D.
class CascadeCtrlSetNetworkRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kSetNetwork,
                                           nullptr,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildSetNetworkRetData>
{
};
}
