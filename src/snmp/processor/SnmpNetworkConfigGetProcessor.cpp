#include "snmp/processor/SnmpNetworkConfigGetProcessor.h"

#include <arpa/inet.h>

#include "GlobalData.h"
#include "Utility.h"

namespace snmp
{
SnmpNetworkConfigGetProcessor::SnmpNetworkConfigGetProcessor() : SnmpNetworkConfigProcessor<11>(kCode, false)
{
    typedef SnmpNetworkConfigGetProcessor T;
    bindHandlers<T>(this, {&T::networkConfigGetIp, &T::networkConfigGetSubmask, &T::networkConfigGetGateway,
                           &T::networkConfigGetPrimaryDns, &T::networkConfigGetSecondaryDns, &T::networkConfigGetMac,
                           &T::networkConfigGetDhcp, &T::networkConfigGetNetbiosName, &T::networkConfigGetHttpPort,
                           &T::networkConfigGetHttpsPort, &T::networkConfigGetEnableRedirect});
}

int SnmpNetworkConfigGetProcessor::getAddress(bool netmask)
{
    Utility::NetworkQeuryResult result;
    Utility::getNetworkParam(&result);
    const Utility::NetworkQeuryEntry& eth0 = result.entries[0];
    if (!eth0.valid)
        return 1;
    return Utility::ipNetworkToString(htonl(netmask ? eth0.netmask : eth0.ip), value_.text) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetIp() { return getAddress(false); }

int SnmpNetworkConfigGetProcessor::networkConfigGetSubmask() { return getAddress(true); }

int SnmpNetworkConfigGetProcessor::networkConfigGetMac()
{
    Utility::NetworkQeuryResult result;
    Utility::getNetworkParam(&result);
    const Utility::NetworkQeuryEntry& eth0 = result.entries[0];
    if (!eth0.valid)
        return 1;
    value_.text.clear();
    for (size_t i = 0; i < sizeof eth0.mac; ++i)
    {
        std::string pair;
        Utility::toHexString(pair, eth0.mac[i], 2);
        value_.text += (i == 0 ? "" : ":") + pair;
    }
    return 0;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetGateway()
{
    return GlobalData::loadGatewayFromDb(value_.text) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetPrimaryDns()
{
    return GlobalData::loadPrimaryDnsFromDb(value_.text) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetSecondaryDns()
{
    return GlobalData::loadSecondaryDnsFromDb(value_.text) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetDhcp() { return GlobalData::loadDhcpFromDb(value_.flag) ? 0 : 1; }

int SnmpNetworkConfigGetProcessor::networkConfigGetNetbiosName()
{
    return GlobalData::loadNetbiosNameFromDb(value_.text) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetHttpPort()
{
    return GlobalData::loadHttpPortFromDb(value_.number) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetHttpsPort()
{
    return GlobalData::loadHttpsPortFromDb(value_.number) ? 0 : 1;
}

int SnmpNetworkConfigGetProcessor::networkConfigGetEnableRedirect()
{
    return GlobalData::loadEnableRedirectFromDb(value_.flag) ? 0 : 1;
}
}
