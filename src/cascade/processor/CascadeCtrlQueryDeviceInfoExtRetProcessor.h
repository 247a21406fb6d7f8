#pragma once
#include "cascade/processor/CascadeCtrlDeviceInfoRetCommand.h"

namespace CascadeCtrl
{
// The identity poll's answer for a wide slave (code 31), into its record.
class CascadeCtrlQueryDeviceInfoExtRetProcessor final
    : public CascadeCtrlDeviceInfoRetCommand<CascadeCtrlCommand::kQueryDeviceInfoExt>
{
};
}
