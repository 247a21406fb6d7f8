#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpDeviceConfigSetProcessor.h"

namespace snmp
{
// Code 2: device configuration, set one item.
class SnmpDeviceConfigSetParser final : public SnmpRequestParser<SnmpDeviceConfigSetProcessor>
{
};
}
