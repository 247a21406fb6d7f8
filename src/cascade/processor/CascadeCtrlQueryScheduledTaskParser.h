#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryScheduledTask requests (code 16) on a slave.
class CascadeCtrlQueryScheduledTaskParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryScheduledTaskProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
