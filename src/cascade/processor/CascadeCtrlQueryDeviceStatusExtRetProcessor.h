#pragma once
#include "cascade/processor/CascadeCtrlDeviceStatusRetCommand.h"

namespace CascadeCtrl
{
// The status poll's answer for a wide slave (code 35), into its record and the mirror.
class CascadeCtrlQueryDeviceStatusExtRetProcessor final
    : public CascadeCtrlDeviceStatusRetCommand<CascadeCtrlCommand::kQueryDeviceStatusExt>
{
};
}
