#pragma once
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryDeviceStatusProcessor.h"

namespace MgrCtrl
{
// Code 47: address, status mask, 32-bit outlet mask; never relayed.
class QueryDeviceStatusParser final : public MgrCtrlRequestParser<QueryDeviceStatusProcessor>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
