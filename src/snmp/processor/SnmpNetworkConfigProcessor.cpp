#include "snmp/processor/SnmpNetworkConfigProcessor.h"

namespace snmp
{
namespace
{
const SnmpValue::Kind kText = SnmpValue::kText;
const SnmpValue::Kind kNumber = SnmpValue::kNumber;
const SnmpValue::Kind kFlag = SnmpValue::kFlag;

// The get request numbers the keys 0 to 10; the set request skips "mac".
const SnmpItemTable::Key kKeys[] = {
    {"ip", kText, 0, 0},           {"submask", kText, 1, 1},         {"gateway", kText, 2, 2},
    {"primary_dns", kText, 3, 3},  {"secondary_dns", kText, 4, 4},   {"mac", kText, 5, SnmpItemTable::kNone},
    {"dhcp", kFlag, 6, 5},         {"netbios_name", kText, 7, 6},    {"http_port", kNumber, 8, 7},
    {"https_port", kNumber, 9, 8}, {"enable_redirect", kFlag, 10, 9}};
const SnmpItemTable::Group kGroups[] = {{nullptr, kKeys, sizeof kKeys / sizeof kKeys[0]}};
const SnmpItemTable kTable(kGroups);
}

const SnmpItemTable& snmpNetworkConfigItems() { return kTable; }
}
