#pragma once
#include "cascade/processor/CascadeCtrlQueryDeviceStatusProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryDeviceStatus requests (code 7) on a slave.
class CascadeCtrlQueryDeviceStatusParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryDeviceStatusProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
