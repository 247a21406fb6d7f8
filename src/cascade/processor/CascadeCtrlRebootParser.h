#pragma once
#include "cascade/processor/CascadeCtrlRebootProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads Reboot requests (code 23) on a slave.
class CascadeCtrlRebootParser final : public CascadeCtrlSlaveParser<CascadeCtrlRebootProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
