#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskExtProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads UpdateScheduledTaskExt requests (code 40) on a slave.
class CascadeCtrlUpdateScheduledTaskExtParser final
    : public CascadeCtrlSlaveParser<CascadeCtrlUpdateScheduledTaskExtProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
