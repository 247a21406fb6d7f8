#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpDeviceConfigGetProcessor.h"

namespace snmp
{
// Code 1: device configuration, get one item.
class SnmpDeviceConfigGetParser final : public SnmpRequestParser<SnmpDeviceConfigGetProcessor>
{
};
}
