#pragma once
#include "manage_control/parser/MgrCtrlCodeOnlyParser.h"
#include "manage_control/processor/GetDeviceListProcessor.h"

namespace MgrCtrl
{
// Code 42: the device list.
class GetDeviceListParser final : public MgrCtrlCodeOnlyParser<GetDeviceListProcessor>
{
};
}
