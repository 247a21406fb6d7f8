#pragma once
#include "cascade/processor/CascadeCtrlDeleteScheduledTaskProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads DeleteScheduledTask requests (code 19) on a slave.
class CascadeCtrlDeleteScheduledTaskParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlDeleteScheduledTaskProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
