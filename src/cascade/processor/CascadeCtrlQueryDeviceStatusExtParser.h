#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceStatusExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryDeviceStatusExt requests (code 35) on a slave.
class CascadeCtrlQueryDeviceStatusExtParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlQueryDeviceStatusExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
