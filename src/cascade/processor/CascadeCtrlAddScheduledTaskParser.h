#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads AddScheduledTask requests (code 17) on a slave.
class CascadeCtrlAddScheduledTaskParser final : public CascadeCtrlSlaveParser<CascadeCtrlAddScheduledTaskProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
