#pragma once
#include "snmp/processor/SnmpNetworkConfigProcessor.h"

namespace snmp
{
// Code 5: reads eth0's live address, mask and MAC from the kernel, the other
// items from pdu.db's settings, afresh for every request.
class SnmpNetworkConfigGetProcessor final : public SnmpNetworkConfigProcessor<11>
{
public:
    static const int kCode = 5;

    SnmpNetworkConfigGetProcessor();

    int networkConfigGetIp();
    int networkConfigGetSubmask();
    int networkConfigGetGateway();
    int networkConfigGetPrimaryDns();
    int networkConfigGetSecondaryDns();
    int networkConfigGetMac();
    int networkConfigGetDhcp();
    int networkConfigGetNetbiosName();
    int networkConfigGetHttpPort();
    int networkConfigGetHttpsPort();
    int networkConfigGetEnableRedirect();

private:
    // eth0's address or netmask (host byte order) as dotted decimal text.
    int getAddress(bool netmask);
};
}
