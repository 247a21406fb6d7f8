#pragma once
#include "cascade/processor/CascadeCtrlTestPingStatusProcessor.h"
#include "cascade/processor/CascadeCtrlSlaveParser.h"

namespace CascadeCtrl
{
// Reads TestPingStatus requests (code 29) on a slave.
class CascadeCtrlTestPingStatusParser final : public CascadeCtrlSlaveParser<CascadeCtrlTestPingStatusProcessor>
{
public:
    using CascadeCtrlSlaveParser::CascadeCtrlSlaveParser;
};
}
