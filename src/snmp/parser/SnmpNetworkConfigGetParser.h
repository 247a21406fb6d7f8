#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpNetworkConfigGetProcessor.h"

namespace snmp
{
// Code 5: network configuration, get one item.
class SnmpNetworkConfigGetParser final : public SnmpRequestParser<SnmpNetworkConfigGetProcessor>
{
};
}
