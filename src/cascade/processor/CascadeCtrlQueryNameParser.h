#pragma once
#include "cascade/processor/CascadeCtrlQueryNameProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads QueryName requests (code 3) on a slave.
class CascadeCtrlQueryNameParser final : public CascadeCtrlSlaveParser<CascadeCtrlQueryNameProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
