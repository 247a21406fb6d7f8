#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryPing.h"

namespace CascadeCtrl
{
// The slave's QueryPingExt (code 43), with 64-bit outlet masks.
class CascadeCtrlQueryPingExtProcessor final : public CascadeCtrlSlaveQueryPing<CascadeCtrlCommand::kQueryPingExt>
{
};
}
