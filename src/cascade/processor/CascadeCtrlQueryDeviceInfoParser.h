#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceInfoProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryDeviceInfo requests (code 1) on a slave.
class CascadeCtrlQueryDeviceInfoParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryDeviceInfoProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
