#pragma once
#include "snmp/parser/SnmpRequestParser.h"
#include "snmp/processor/SnmpDeviceControlProcessor.h"

namespace snmp
{
// Code 7: device control (reboot).
class SnmpDeviceControlParser final : public SnmpRequestParser<SnmpDeviceControlProcessor>
{
};
}
