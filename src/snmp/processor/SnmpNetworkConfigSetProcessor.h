#pragma once
#include "snmp/processor/SnmpNetworkConfigProcessor.h"

namespace snmp
{
// Code 6: writes one row of pdu.db's settings, unchecked, and nothing else:
// the running interface and the device record keep their values until the
// unit starts again.
class SnmpNetworkConfigSetProcessor final : public SnmpNetworkConfigProcessor<10>
{
public:
    static const int kCode = 6;

    SnmpNetworkConfigSetProcessor();

    int networkConfigSetIp();
    int networkConfigSetSubmask();
    int networkConfigSetGateway();
    int networkConfigSetPrimaryDns();
    int networkConfigSetSecondaryDns();
    int networkConfigSetDhcp();
    int networkConfigSetNetbiosName();
    int networkConfigSetHttpPort();
    int networkConfigSetHttpsPort();
    int networkConfigSetEnableRedirect();

private:
    int saved(bool ok, const char* label, const std::string& value);
};
}
