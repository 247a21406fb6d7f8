#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>

#include "GlobalData.h"
#include "InstanceLock.h"
#include "PduServer.h"
#include "muduo/base/Logging.h"
#include "muduo/net/EventLoop.h"
#include "muduo/net/InetAddress.h"

namespace
{
const char* const kUsage =
    "Usage: ./railbox [web_ip] [web_port] [config_port] [modbus_port] [manage_control_scan_port] "
    "[manage_control_port]";
const int kMaxArguments = 6;
const uint16_t kSnmpBridgePort = 8889;
const uint16_t kNbnsPort = 137;

// Decimal digits only and at most 65535: anything else would bind a port
// nobody asked for.
bool parsePort(const char* text, uint16_t& port)
{
    unsigned long value = 0;
    if (*text == '\0')
        return false;
    for (const char* p = text; *p; ++p)
    {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + static_cast<unsigned long>(*p - '0');
        if (value > 65535)
            return false;
    }
    port = static_cast<uint16_t>(value);
    return true;
}

// ports[i] is argument i + 1; argument 1 is the web address text.
bool parseArguments(int argc, char* argv[], uint16_t (&ports)[kMaxArguments + 1])
{
    if (argc > kMaxArguments + 1)
        return false;
    for (int i = 2; i < argc; ++i)
        if (!parsePort(argv[i], ports[i]))
            return false;
    return true;
}
}

int main(int argc, char* argv[])
{
    // A supervisor capturing the output sees each log line when it is written.
    ::setvbuf(stdout, nullptr, _IOLBF, 0);
    InstanceLock instanceLock;
    if (!instanceLock.lock())
    {
        LOG_WARN << "Programe already running";
        return -1;
    }
    uint16_t ports[kMaxArguments + 1] = {};
    if (!parseArguments(argc, argv, ports))
    {
        LOG_INFO << kUsage;
        return -1;
    }
    muduo::Logger::setLogLevel(muduo::Logger::WARN);
    ::signal(SIGCHLD, SIG_IGN);

    std::string webIp = "127.0.0.1";
    uint16_t webPort = 8888, configPort = 6666, modbusPort = 502, scanPort = 8891;
    _DeviceNetworkSetting networkSetting;
    uint16_t mgrCtrlPort = GlobalData::instance()->loadDeviceNetworkSettingFromDb(networkSetting)
                               ? networkSetting.manageControlPort
                               : _DeviceNetworkSetting::kDefaultManageControlPort;
    switch (argc - 1)
    {
    case 6: mgrCtrlPort = ports[6]; [[fallthrough]];
    case 5: scanPort = ports[5]; [[fallthrough]];
    case 4: modbusPort = ports[4]; [[fallthrough]];
    case 3: configPort = ports[3]; [[fallthrough]];
    case 2: webPort = ports[2]; [[fallthrough]];
    case 1: webIp = argv[1]; break;
    default: break;
    }
    GlobalData::instance()->loadDeviceParamFromDb();

    const muduo::net::InetAddress webAddr(webIp, webPort);
    const muduo::net::InetAddress configAddr("0.0.0.0", configPort);
    const muduo::net::InetAddress modbusAddr("0.0.0.0", modbusPort);
    const muduo::net::InetAddress snmpAddr("127.0.0.1", kSnmpBridgePort);
    const muduo::net::InetAddress scanAddr("0.0.0.0", scanPort);
    const muduo::net::InetAddress mgrCtrlAddr("0.0.0.0", mgrCtrlPort);
    const muduo::net::InetAddress nbnsAddr("0.0.0.0", kNbnsPort);

    muduo::net::EventLoop loop;
    PduServer server(&loop, webAddr, configAddr, modbusAddr, snmpAddr, scanAddr, mgrCtrlAddr, nbnsAddr);
    server.start();
    LOG_INFO << argv[0] << " Pdu server started, web_ipc_ip:" << webIp << " web_ipc_port:" << webPort
             << " config_port:" << configPort << " modbus_port:" << modbusPort
             << " manage_control_scan_port:" << scanPort << " manage_control_port:" << mgrCtrlPort;
    loop.loop();
    return 0;
}
