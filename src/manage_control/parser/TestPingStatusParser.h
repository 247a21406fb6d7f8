#pragma once
#include "cascade/processor/CascadeCtrlTestPingStatusRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/TestPingStatusProcessor.h"

namespace MgrCtrl
{
// Code 69: address, outlet.
class TestPingStatusParser final
    : public MgrCtrlRequestParser<TestPingStatusProcessor, CascadeCtrl::CascadeCtrlTestPingStatusRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
