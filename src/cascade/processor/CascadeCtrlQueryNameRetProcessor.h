#pragma once
#include "cascade/processor/CascadeCtrlNameListRetProcessor.h"

namespace CascadeCtrl
{
// A slave's names (code 3): web 31, manage-control 0x46.
class CascadeCtrlQueryNameRetProcessor final
    : public CascadeCtrlNameListRetProcessor<CascadeCtrlCommand::kQueryName,
                                             &MgrCtrl::MgrCtrlPacketBuilder::buildQueryNameRetData>
{
};
}
