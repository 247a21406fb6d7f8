#pragma once
#include "cascade/processor/CascadeCtrlDeviceInfoRetCommand.h"

namespace CascadeCtrl
{
// The identity poll's answer (code 1), into the slave's record.
class CascadeCtrlQueryDeviceInfoRetProcessor final
    : public CascadeCtrlDeviceInfoRetCommand<CascadeCtrlCommand::kQueryDeviceInfo>
{
};
}
