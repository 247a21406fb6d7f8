#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryName.h"

namespace CascadeCtrl
{
// The slave's QueryNameExt (code 33), with 64-bit outlet masks.
class CascadeCtrlQueryNameExtProcessor final : public CascadeCtrlSlaveQueryName<CascadeCtrlCommand::kQueryNameExt>
{
};
}
