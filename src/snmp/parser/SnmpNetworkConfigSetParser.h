#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpNetworkConfigSetProcessor.h"

namespace snmp
{
// Code 6: network configuration, set one item.
class SnmpNetworkConfigSetParser final : public SnmpRequestParser<SnmpNetworkConfigSetProcessor>
{
};
}
