#pragma once
#include "cascade/processor/CascadeCtrlNameChangeRetProcessor.h"

namespace CascadeCtrl
{
// A slave's names changed (code 4): web 30, manage-control 0x2B; the cache follows.
class CascadeCtrlSetNameRetProcessor final
    : public CascadeCtrlNameChangeRetProcessor<CascadeCtrlCommand::kSetName,
                                               &MgrCtrl::MgrCtrlPacketBuilder::buildSetNameRetData>
{
};
}
