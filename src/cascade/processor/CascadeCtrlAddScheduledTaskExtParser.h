#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads AddScheduledTaskExt requests (code 39) on a slave.
class CascadeCtrlAddScheduledTaskExtParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlAddScheduledTaskExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
