#include "snmp/parser/SnmpParser.h"

namespace snmp
{
SnmpParser::~SnmpParser() = default;
}
