#pragma once
#include "manage_control/parser/MgrCtrlCodeOnlyParser.h"
#include "manage_control/processor/ScanDeviceProcessor.h"

namespace MgrCtrl
{
// Code 41: discovery on the scan port, whatever the code byte says; not in the dispatcher's table.
class ScanDeviceParser final : public MgrCtrlCodeOnlyParser<ScanDeviceProcessor>
{
};
}
