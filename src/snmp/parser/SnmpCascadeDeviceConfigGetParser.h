#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpCascadeDeviceConfigGetProcessor.h"

namespace snmp
{
// Code 9: one item of a cascade slave's configuration.
class SnmpCascadeDeviceConfigGetParser final : public SnmpRequestParser<SnmpCascadeDeviceConfigGetProcessor>
{
};
}
