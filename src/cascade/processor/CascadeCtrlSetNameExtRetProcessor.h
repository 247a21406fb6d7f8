#pragma once
#include "cascade/processor/CascadeCtrlNameChangeRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's names changed (code 34): web 30, manage-control 0x48; the cache follows.
class CascadeCtrlSetNameExtRetProcessor final
    : public CascadeCtrlNameChangeRetProcessor<CascadeCtrlCommand::kSetNameExt,
                                               &MgrCtrl::MgrCtrlPacketBuilder::buildSetNameExtRetData>
{
};
}
