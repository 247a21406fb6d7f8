#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpOutletConfigGetProcessor.h"

namespace snmp
{
// Code 3: outlet configuration, get one item.
class SnmpOutletConfigGetParser final : public SnmpRequestParser<SnmpOutletConfigGetProcessor>
{
};
}
