#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceInfoExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryDeviceInfoExt requests (code 31) on a slave.
class CascadeCtrlQueryDeviceInfoExtParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryDeviceInfoExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
