#pragma once
#include "cascade/processor/CascadeCtrlDeviceStatusRetCommand.h"

namespace CascadeCtrl
{
// The status poll's answer (code 7), into the slave's record and the mirror.
class CascadeCtrlQueryDeviceStatusRetProcessor final
    : public CascadeCtrlDeviceStatusRetCommand<CascadeCtrlCommand::kQueryDeviceStatus>
{
};
}
