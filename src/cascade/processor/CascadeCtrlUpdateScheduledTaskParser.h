#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads UpdateScheduledTask requests (code 18) on a slave.
class CascadeCtrlUpdateScheduledTaskParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlUpdateScheduledTaskProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
