#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryScheduledTaskExt requests (code 38) on a slave.
class CascadeCtrlQueryScheduledTaskExtParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlQueryScheduledTaskExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
