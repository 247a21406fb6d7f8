#pragma once
#include "cascade/processor/CascadeCtrlSlaveDeviceInfo.h"

namespace CascadeCtrl
{
// The slave's QueryDeviceInfo (code 1).
class CascadeCtrlQueryDeviceInfoProcessor final
    : public CascadeCtrlSlaveDeviceInfo<CascadeCtrlCommand::kQueryDeviceInfo>
{
};
}
