#pragma once
#include "cascade/processor/CascadeCtrlSlaveDeviceInfo.h"

namespace CascadeCtrl
{
// The slave's QueryDeviceInfoExt (code 31), with 64-bit outlet masks.
class CascadeCtrlQueryDeviceInfoExtProcessor final
    : public CascadeCtrlSlaveDeviceInfo<CascadeCtrlCommand::kQueryDeviceInfoExt>
{
};
}
