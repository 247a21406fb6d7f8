#pragma once
#include "cascade/processor/CascadeCtrlNameListRetProcessor.h"

namespace CascadeCtrl
{
// A wide slave's names (code 33): web 31, manage-control 0x52.
class CascadeCtrlQueryNameExtRetProcessor final
    : public CascadeCtrlNameListRetProcessor<CascadeCtrlCommand::kQueryNameExt,
                                             &MgrCtrl::MgrCtrlPacketBuilder::buildQueryNameExtRetData>
{
};
}
