#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetName.h"

namespace CascadeCtrl
{
// The slave's SetName (code 4).
class CascadeCtrlSetNameProcessor final : public CascadeCtrlSlaveSetName<CascadeCtrlCommand::kSetName>
{
};
}
