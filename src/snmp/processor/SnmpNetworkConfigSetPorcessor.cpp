#include "GlobalData.h"
#include "muduo/base/Logging.h"
#include "snmp/processor/SnmpNetworkConfigSetProcessor.h"

namespace snmp
{
namespace
{
const char* flagText(bool flag) { return flag ? "1" : "0"; }
}

SnmpNetworkConfigSetProcessor::SnmpNetworkConfigSetProcessor() : SnmpNetworkConfigProcessor<10>(kCode, true)
{
    typedef SnmpNetworkConfigSetProcessor T;
    bindHandlers<T>(this, {&T::networkConfigSetIp, &T::networkConfigSetSubmask, &T::networkConfigSetGateway,
                           &T::networkConfigSetPrimaryDns, &T::networkConfigSetSecondaryDns, &T::networkConfigSetDhcp,
                           &T::networkConfigSetNetbiosName, &T::networkConfigSetHttpPort,
                           &T::networkConfigSetHttpsPort, &T::networkConfigSetEnableRedirect});
}

int SnmpNetworkConfigSetProcessor::saved(bool ok, const char* label, const std::string& value)
{
    if (!ok)
        return 1;
    LOG_INFO << label << value;
    return 0;
}

int SnmpNetworkConfigSetProcessor::networkConfigSetIp()
{
    return saved(GlobalData::saveNetworkIpToDb(value_.text), "ip:", value_.text);
}

int SnmpNetworkConfigSetProcessor::networkConfigSetSubmask()
{
    return saved(GlobalData::saveNetworkSubmaskToDb(value_.text), "submask:", value_.text);
}

int SnmpNetworkConfigSetProcessor::networkConfigSetGateway()
{
    return saved(GlobalData::saveNetworkGatewayToDb(value_.text), "gateway:", value_.text);
}

int SnmpNetworkConfigSetProcessor::networkConfigSetPrimaryDns()
{
    return saved(GlobalData::saveNetworkPrimaryDnsToDb(value_.text), "primary dns:", value_.text);
}

int SnmpNetworkConfigSetProcessor::networkConfigSetSecondaryDns()
{
    return saved(GlobalData::saveNetworkSecondaryDnsToDb(value_.text), "secondary dns:", value_.text);
}

int SnmpNetworkConfigSetProcessor::networkConfigSetDhcp()
{
    return saved(GlobalData::saveNetworkDhcpToDb(value_.flag), "dhcp:", flagText(value_.flag));
}

int SnmpNetworkConfigSetProcessor::networkConfigSetNetbiosName()
{
    return saved(GlobalData::saveNetworkNetbiosNameToDb(value_.text), "netbios name:", value_.text);
}

int SnmpNetworkConfigSetProcessor::networkConfigSetHttpPort()
{
    return saved(GlobalData::saveNetworkHttpPortToDb(value_.number), "http port:", std::to_string(value_.number));
}

int SnmpNetworkConfigSetProcessor::networkConfigSetHttpsPort()
{
    return saved(GlobalData::saveNetworkHttpsPortToDb(value_.number), "https port:", std::to_string(value_.number));
}

int SnmpNetworkConfigSetProcessor::networkConfigSetEnableRedirect()
{
    return saved(GlobalData::saveNetworkEnableRedirectToDb(value_.flag), "enable redirect:", flagText(value_.flag));
}
}
