#pragma once
#include "cascade/processor/CascadeCtrlSlaveOperatePort.h"

namespace CascadeCtrl
{
// The slave's OperatePortExt (code 32), with 64-bit outlet masks.
class CascadeCtrlOperatePortExtProcessor final : public CascadeCtrlSlaveOperatePort<CascadeCtrlCommand::kOperatePortExt>
{
public:
    using CascadeCtrlSlaveOperatePort::CascadeCtrlSlaveOperatePort;
};
}
