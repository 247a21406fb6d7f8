#pragma once
#include "cascade/processor/CascadeCtrlSlaveDeviceStatus.h"

namespace CascadeCtrl
{
// The slave's QueryDeviceStatusExt (code 35), with 64-bit outlet masks.
class CascadeCtrlQueryDeviceStatusExtProcessor final
    : public CascadeCtrlSlaveDeviceStatus<CascadeCtrlCommand::kQueryDeviceStatusExt>
{
};
}
