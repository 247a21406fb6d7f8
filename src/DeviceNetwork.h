#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One interface's IP settings; addresses in host byte order.
struct _DeviceNetwork
{
    uint8_t index = 0;
    uint32_t ip = 0;
    uint32_t mask = 0;
    uint32_t gateway = 0;
    uint8_t dhcp = 0;
    char mac[6] = {};  // transmission order
    std::string netbiosName;
    uint16_t httpPort = 0;
    uint16_t httpsPort = 0;
    uint8_t enableRedirect = 0;
};

struct _DeviceNetworkSetting
{
    static constexpr uint16_t kDefaultManageControlPort = 8890;

    std::vector<_DeviceNetwork> networks;
    uint16_t manageControlPort = kDefaultManageControlPort;
};

// The name the NetBIOS responder answers to: up to 16 upper-cased
// characters, zero-padded.
struct _NetbiosName
{
    static constexpr int kMaxLength = 16;

    char name[kMaxLength] = {};
    uint8_t length = 0;
};
