#pragma once
#include "snmp/parser/SnmpFields.h"
#include "snmp/processor/SnmpTableProcessor.h"

namespace snmp
{
// The keys of codes 5 and 6, in the order they are tried: "ip", "submask",
// "gateway", "primary_dns", "secondary_dns", "mac" (get only), "dhcp",
// "netbios_name", "http_port", "https_port", "enable_redirect".
const SnmpItemTable& snmpNetworkConfigItems();

// Codes 5 and 6: one item of the unit's IP settings. "content" carries
// "index" 0, the only one there is, which the answer repeats.
template <int N>
class SnmpNetworkConfigProcessor : public SnmpTableProcessor<N>
{
public:
    bool read(const rapidjson::Value& content) final
    {
        return SnmpFields::readInt(content, "index", this->lead_) && this->lead_ == 0 &&
               this->chooseInGroups(content);
    }

protected:
    SnmpNetworkConfigProcessor(int code, bool set)
        : SnmpTableProcessor<N>(code, snmpNetworkConfigItems(), set, "index")
    {
    }
};
}
