#pragma once
#include "cascade/processor/CascadeCtrlTestPingRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/TestPingProcessor.h"

namespace MgrCtrl
{
// Code 68: address, outlet, host address.
class TestPingParser final : public MgrCtrlRequestParser<TestPingProcessor, CascadeCtrl::CascadeCtrlTestPingRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
