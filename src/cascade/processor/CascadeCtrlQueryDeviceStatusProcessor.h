#pragma once
#include "cascade/processor/CascadeCtrlSlaveDeviceStatus.h"

namespace CascadeCtrl
{
// The slave's QueryDeviceStatus (code 7).
class CascadeCtrlQueryDeviceStatusProcessor final
    : public CascadeCtrlSlaveDeviceStatus<CascadeCtrlCommand::kQueryDeviceStatus>
{
};
}
