#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceInfoExtRetProcessor.h"
#include "cascade/processor/CascadeCtrlRetParser.h"

namespace CascadeCtrl
{
// Reads a slave's answer to QueryDeviceInfoExt (code 31).
class CascadeCtrlQueryDeviceInfoExtRetParser final
    : public CascadeCtrlRetParser<CascadeCtrlQueryDeviceInfoExtRetProcessor>
{
};
}
