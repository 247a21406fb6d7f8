#pragma once
#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// A slave restarting (code 23): manage-control 0x40.
class CascadeCtrlRebootRetProcessor final
    : public CascadeCtrlResultRetProcessor<CascadeCtrlCommand::kReboot,
                                           nullptr,
                                           &MgrCtrl::MgrCtrlPacketBuilder::buildRebootRetData>
{
};
}
