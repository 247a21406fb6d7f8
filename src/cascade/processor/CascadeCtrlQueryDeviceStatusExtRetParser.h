#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceStatusExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryDeviceStatusExt (code 35).
class CascadeCtrlQueryDeviceStatusExtRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryDeviceStatusExtRetProcessor>
{
};
}
