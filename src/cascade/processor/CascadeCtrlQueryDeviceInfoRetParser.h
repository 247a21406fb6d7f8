#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceInfoRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryDeviceInfo (code 1).
class CascadeCtrlQueryDeviceInfoRetParser final : public CascadeCtrlRetParser<CascadeCtrlQueryDeviceInfoRetProcessor>
{
};
}
