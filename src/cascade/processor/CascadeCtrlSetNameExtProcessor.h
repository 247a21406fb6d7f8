#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetName.h"

namespace CascadeCtrl
{
// The slave's SetNameExt (code 34), with 64-bit outlet masks.
class CascadeCtrlSetNameExtProcessor final : public CascadeCtrlSlaveSetName<CascadeCtrlCommand::kSetNameExt>
{
};
}
