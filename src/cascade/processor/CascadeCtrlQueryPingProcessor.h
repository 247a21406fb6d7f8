#pragma once
#include "cascade/processor/CascadeCtrlSlaveQueryPing.h"

namespace CascadeCtrl
{
// The slave's QueryPing (code 30).
class CascadeCtrlQueryPingProcessor final : public CascadeCtrlSlaveQueryPing<CascadeCtrlCommand::kQueryPing>
{
};
}
