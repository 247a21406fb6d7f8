#pragma once
#include "cascade/processor/CascadeCtrlSlaveSetPing.h"

namespace CascadeCtrl
{
// The slave's SetPingExt (code 42), with 64-bit outlet masks.
class CascadeCtrlSetPingExtProcessor final : public CascadeCtrlSlaveSetPing<CascadeCtrlCommand::kSetPingExt>
{
public:
    using CascadeCtrlSlaveSetPing::CascadeCtrlSlaveSetPing;
};
}
