#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryName.h"

namespace CascadeCtrl
{
// The slave's QueryName (code 3).
class CascadeCtrlQueryNameProcessor final : public CascadeCtrlSlaveQueryName<CascadeCtrlCommand::kQueryName>
{
};
}
