#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceStatusRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryDeviceStatus (code 7).
class CascadeCtrlQueryDeviceStatusRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryDeviceStatusRetProcessor>
{
};
}
