#pragma once
#include "cascade/processor/CascadeCtrlSlaveOperatePort.h"

namespace CascadeCtrl
{
// The slave's OperatePort (code 2).
class CascadeCtrlOperatePortProcessor final : public CascadeCtrlSlaveOperatePort<CascadeCtrlCommand::kOperatePort>
{
public:
    using CascadeCtrlSlaveOperatePort::CascadeCtrlSlaveOperatePort;
};
}
