#pragma once
#include "cascade/processor/CascadeCtrlQueryNetworkRelay.h"
#include "manage_control/parser/MgrCtrlRequestParser.h"
#include "manage_control/processor/QueryNetworkProcessor.h"

namespace MgrCtrl
{
// Code 44: address alone.
class QueryNetworkParser final
    : public MgrCtrlRequestParser<QueryNetworkProcessor, CascadeCtrl::CascadeCtrlQueryNetworkRelay>
{
public:
    using MgrCtrlRequestParser::MgrCtrlRequestParser;
};
}
