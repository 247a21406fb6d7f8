#pragma once
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryDeviceStatusExtProcessor.h"

namespace MgrCtrl
{
// Code 74: address, status mask, 64-bit outlet mask; never relayed.
class QueryDeviceStatusExtParser final : public MgrCtrlRequestParser<QueryDeviceStatusExtProcessor>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
