#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpOutletConfigSetProcessor.h"

namespace snmp
{
// Code 4: outlet configuration, set one item.
class SnmpOutletConfigSetParser final : public SnmpRequestParser<SnmpOutletConfigSetProcessor>
{
};
}
