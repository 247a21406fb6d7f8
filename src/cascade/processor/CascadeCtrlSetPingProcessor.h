#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetPing.h"

namespace CascadeCtrl
{
// The slave's SetPing (code 27).
class CascadeCtrlSetPingProcessor final : public CascadeCtrlSlaveSetPing<CascadeCtrlCommand::kSetPing>
{
public:
    using CascadeCtrlSlaveSetPing::CascadeCtrlSlaveSetPing;
};
}
